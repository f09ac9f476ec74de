#include "fixtext.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace skelvor {

namespace {

// Windows-1252 bytes 0x80 to 0x9F, from the Unicode Consortium's mapping file
// MAPPINGS/VENDORS/MICSFT/WINDOWS/CP1252.TXT. The five bytes that file leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the C1 control characters of the same value, as in the WHATWG Encoding Standard's windows-1252
// index and in Windows' own conversion. Every other byte is the Latin-1 character of the same value.
constexpr std::array<char16_t, 32> kWindows1252From80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool inRange(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

// The byte that Windows-1252 writes for `c`, or -1.
int windows1252Byte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  const auto* const found = std::find(kWindows1252From80.begin(), kWindows1252From80.end(), c);
  return found == kWindows1252From80.end() ? -1 : static_cast<int>(0x80 + (found - kWindows1252From80.begin()));
}

}  // namespace

namespace detail {

// Strict UTF-8 validation after the well-formed byte sequences of the Unicode Standard (chapter 3, table 3-7).
// The lead byte fixes the length of a sequence and the allowed range of its second byte; that range is what rules out
// overlong forms (E0 and F0 need a second byte of at least A0 and 90, C0 and C1 never lead), the surrogates D800 to
// DFFF (ED needs a second byte below A0) and code points beyond 10FFFF (F4 needs a second byte below 90; F5 to FF
// never lead). Every later byte is a plain continuation byte, 80 to BF. Fix files are almost all ASCII, so runs of
// eight ASCII bytes are skipped at once.
bool isStrictUtf8(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p != end) {
    if (end - p >= 8) {
      std::uint64_t block;
      std::memcpy(&block, p, sizeof block);
      if ((block & 0x8080808080808080u) == 0) {
        p += 8;
        continue;
      }
    }
    const unsigned char lead = *p++;
    if (lead < 0x80) continue;
    qsizetype continuations;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (inRange(lead, 0xC2, 0xDF)) {
      continuations = 1;
    } else if (inRange(lead, 0xE0, 0xEF)) {
      continuations = 2;
      if (lead == 0xE0) secondLow = 0xA0;
      if (lead == 0xED) secondHigh = 0x9F;
    } else if (inRange(lead, 0xF0, 0xF4)) {
      continuations = 3;
      if (lead == 0xF0) secondLow = 0x90;
      if (lead == 0xF4) secondHigh = 0x8F;
    } else {
      return false;
    }
    if (end - p < continuations || !inRange(*p, secondLow, secondHigh)) return false;
    for (qsizetype i = 1; i < continuations; ++i)
      if (!inRange(p[i], 0x80, 0xBF)) return false;
    p += continuations;
  }
  return true;
}

char16_t* decodeInto(QByteArrayView bytes, bool utf8, char16_t* out) {
  // Fix files are nearly all ASCII: every byte is first written as the character of its value, and only text that
  // holds other bytes is looked at again.
  unsigned char bits = 0;
  char16_t* end = out;
  for (const char c : bytes) {
    bits |= static_cast<unsigned char>(c);
    *end++ = static_cast<unsigned char>(c);
  }
  if (bits < 0x80) return end;
  if (utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return reinterpret_cast<char16_t*>(decoder.appendToBuffer(reinterpret_cast<QChar*>(out), bytes));
  }
  for (char16_t* c = out; c != end; ++c)
    if (*c >= 0x80 && *c <= 0x9F) *c = kWindows1252From80[*c - 0x80u];
  return end;
}

// `text` as a file of the given encoding writes it, or nothing when no bytes of it decode to it.
std::optional<QByteArray> encodeAs(QStringView text, bool utf8) {
  if (utf8) {
    // Valid UTF-8 decodes to valid UTF-16 only: a text with a lone surrogate has no bytes here.
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i];
      if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        ++i;
      else if (c.isSurrogate())
        return std::nullopt;
    }
    return text.toUtf8();
  }
  QByteArray encoded(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int byte = windows1252Byte(text[i].unicode());
    if (byte < 0) return std::nullopt;
    encoded[i] = static_cast<char>(byte);
  }
  return encoded;
}

}  // namespace detail

QString decodeFixText(const QByteArray& bytes) {
  const bool utf8 = detail::isStrictUtf8(bytes);
  QByteArrayView body(bytes);
  // One byte-order mark is skipped here; any further one is kept as the character it is.
  if (utf8 && body.startsWith(QByteArrayView(detail::kUtf8Bom.data(), detail::kUtf8Bom.size())))
    body = body.sliced(detail::kUtf8Bom.size());
  QString text(body.size(), Qt::Uninitialized);
  char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
  text.truncate(detail::decodeInto(body, utf8, begin) - begin);
  return text;
}

}  // namespace skelvor
