#include "fixfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace skelvor {

namespace {

constexpr std::array<unsigned char, 3> kUtf8Bom = {0xEF, 0xBB, 0xBF};

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

QString fromWindows1252(QByteArrayView bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    *out++ = inRange(byte, 0x80, 0x9F) ? QChar(kWindows1252From80[byte - 0x80u]) : QChar(byte);
  }
  return text;
}

// The number of LF characters in `text`: the number of line ends in a CR LF or LF file.
qsizetype countLineFeeds(QStringView text) {
  qsizetype count = 0;
  const char16_t* const end = text.utf16() + text.size();
  for (const char16_t* p = text.utf16(); p != end; ++p) count += *p == u'\n' ? 1 : 0;
  return count;
}

}  // namespace

QString decodeFixText(const QByteArray& bytes) {
  if (!isStrictUtf8(bytes)) return fromWindows1252(bytes);
  QByteArrayView body(bytes);
  if (body.startsWith(QByteArrayView(kUtf8Bom.data(), kUtf8Bom.size()))) body = body.sliced(kUtf8Bom.size());
  // One byte-order mark is skipped here; the decoder is told to keep any further one as the character it is.
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  return decoder.decode(body);
}

QStringList splitLines(QStringView text) {
  // Reserving up front spares a large file the copies of a growing list; a file with CR-only line ends, which is rare,
  // just lets the list grow.
  QStringList lines;
  lines.reserve(countLineFeeds(text) + 1);
  const char16_t* const end = text.utf16() + text.size();
  const char16_t* start = text.utf16();
  for (const char16_t* p = start; p != end; ++p) {
    // Every character above CR is line content; one comparison settles almost all of them.
    if (*p > u'\r' || (*p != u'\r' && *p != u'\n')) continue;
    lines.append(QStringView(start, p).toString());
    if (*p == u'\r' && p + 1 != end && p[1] == u'\n') ++p;
    start = p + 1;
  }
  if (start != end) lines.append(QStringView(start, end).toString());
  return lines;
}

FixFile readFixFile(const QString& path) {
  FixBytes file = readFixBytes(path);
  if (!file.ok) return {false, file.error, {}};
  return {true, {}, splitLines(decodeFixText(file.bytes))};
}

FixBytes readFixBytes(const QString& path) {
  FixBytes result;
  // Opening a pipe waits for a writer that may never come, and a device may never end: only regular files are read.
  if (const QFileInfo info(path); info.exists() && !info.isFile()) {
    result.error = QStringLiteral("Cannot read %1: it is not a regular file").arg(info.fileName());
    return result;
  }
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) result.bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    result.error = QStringLiteral("Cannot read %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
    result.bytes.clear();
    return result;
  }
  result.ok = true;
  return result;
}

// The whole file decides between UTF-8 and Windows-1252, as decodeFixText does, and its one byte-order mark is skipped
// once. CR and LF bytes stand for themselves in both encodings and never inside a UTF-8 sequence, so a run that ends
// just after a line end (after the LF of a CR LF) decodes alone to the text of its lines, and splits alone into them.
void visitFixLines(const QByteArray& bytes, const std::function<void(const QStringList& lines)>& visit,
                   qsizetype runBytes) {
  const bool utf8 = isStrictUtf8(bytes);
  QByteArrayView rest(bytes);
  if (utf8 && rest.startsWith(QByteArrayView(kUtf8Bom.data(), kUtf8Bom.size()))) rest = rest.sliced(kUtf8Bom.size());
  while (!rest.isEmpty()) {
    qsizetype end = std::min(std::max<qsizetype>(runBytes, 1), rest.size()) - 1;
    while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r') ++end;
    if (end < rest.size() - 1 && rest[end] == '\r' && rest[end + 1] == '\n') ++end;
    const QByteArrayView run = rest.first(std::min(end + 1, rest.size()));
    rest = rest.sliced(run.size());
    if (utf8) {
      QStringDecoder decoder(QStringDecoder::Utf8,
                             QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
      const QString text = decoder.decode(run);
      visit(splitLines(text));
    } else {
      visit(splitLines(fromWindows1252(run)));
    }
  }
}

QStringList collectCodes(const QStringList& lines) {
  // The views point into `lines`, which outlives the set: no copy of a code is made until it is new.
  QSet<QStringView> seen;
  QStringList codes;
  for (const QString& line : lines) {
    const std::optional<QStringView> code = detail::countryField(line);
    if (!code) continue;
    const qsizetype before = seen.size();
    seen.insert(*code);
    if (seen.size() != before) codes.append(code->toString());
  }
  return codes;
}

QString fileKind(const QString& fileName, const QString& previous) {
  QString kind = previous;
  if (fileName.contains(u"Navaid")) kind = QLatin1StringView(kNavaids);
  if (fileName.contains(u"Waypoint")) kind = QLatin1StringView(kWaypoints);
  if (fileName.contains(u"Airport")) kind = QLatin1StringView(kAirports);
  return kind;
}

namespace detail {

std::optional<QStringView> countryField(QStringView line) {
  // Field 0 of a fix line is a few characters long: a plain scan beats a general search that first sets itself up.
  const char16_t* const begin = line.utf16();
  const char16_t* const end = begin + line.size();
  const char16_t* start = begin;
  while (start != end && *start != u';') ++start;
  if (start == end) return std::nullopt;
  const char16_t* stop = ++start;
  while (stop != end && *stop != u';') ++stop;
  return QStringView(start, stop);
}

}  // namespace detail

}  // namespace skelvor
