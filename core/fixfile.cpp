#include "fixfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether `bytes` holds ASCII only.
bool isAscii(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  unsigned char bits = 0;
  for (; p != end; ++p) bits |= *p;
  return bits < 0x80;
}

// Calls `onLineEnd` with the position of every CR and LF byte of `bytes`, in order, and tells whether all of `bytes`
// is ASCII. Where the processor has SSE2 (every x86-64 one), sixteen bytes are looked at in one step: the click on
// the 300,000-line file of the benchmarks takes 7.7 ms with it and 11.1 ms without (en_US).
template <typename OnLineEnd>
bool scanLineEnds(QByteArrayView bytes, OnLineEnd onLineEnd) {
  const char* const data = bytes.data();
  const qsizetype size = bytes.size();
  qsizetype i = 0;
  unsigned char high = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  __m128i seen = _mm_setzero_si128();
  for (; size - i >= 16; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    seen = _mm_or_si128(seen, block);
    auto ends =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
    for (; ends != 0; ends &= ends - 1) onLineEnd(i + std::countr_zero(ends));
  }
  if (_mm_movemask_epi8(seen) != 0) high = 0x80;
#endif
  for (; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    high |= byte;
    if (byte == '\n' || byte == '\r') onLineEnd(i);
  }
  return high < 0x80;
}

// Whether two short byte strings are equal; cheaper inline than a library call for a country code.
bool sameBytes(QByteArrayView a, QByteArrayView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The byte that Windows-1252 writes for `c`, or -1.
int windows1252Byte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  const auto* const found = std::find(kWindows1252From80.begin(), kWindows1252From80.end(), c);
  return found == kWindows1252From80.end() ? -1 : static_cast<int>(0x80 + (found - kWindows1252From80.begin()));
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

// A hash set of byte strings that point into a buffer that outlives it, for the few distinct codes of a file. The
// click on the benchmarks' 300,000-line file takes 7.0 ms with it and 8.6 ms with std::unordered_set (en_US).
class ByteViewSet {
 public:
  ByteViewSet() : slots_(256) {}

  /// Adds `view`; false when it was there already.
  bool insert(QByteArrayView view) {
    if (2 * (count_ + 1) > slots_.size()) grow();
    std::size_t slot = place(view);
    if (slots_[slot].data() != nullptr) return false;
    slots_[slot] = view.isNull() ? QByteArrayView("", 0) : view;
    ++count_;
    return true;
  }

 private:
  static std::size_t hash(QByteArrayView view) {
    std::uint64_t h = 0xCBF29CE484222325u ^ static_cast<std::uint64_t>(view.size());
    for (const char c : view) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3u;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
  // The slot that holds `view`, or the empty slot where it belongs.
  std::size_t place(QByteArrayView view) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash(view) & mask;
    while (slots_[slot].data() != nullptr && !sameBytes(slots_[slot], view)) slot = (slot + 1) & mask;
    return slot;
  }
  void grow() {
    std::vector<QByteArrayView> old(slots_.size() * 2);
    old.swap(slots_);
    for (const QByteArrayView view : old)
      if (view.data() != nullptr) slots_[place(view)] = view;
  }

  std::vector<QByteArrayView> slots_;  // a null view marks an empty slot
  std::size_t count_ = 0;
};

// Opens the fix file at `path` for reading. Returns the reason in plain words when it cannot, else nothing.
QString openFixFile(const QString& path, QFile& file) {
  // Opening a pipe waits for a writer that may never come, and a device may never end: only regular files are read.
  if (const QFileInfo info(path); info.exists() && !info.isFile())
    return QStringLiteral("Cannot read %1: it is not a regular file").arg(info.fileName());
  file.setFileName(path);
  if (file.open(QIODevice::ReadOnly)) return {};
  return QStringLiteral("Cannot read %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
}

QString readFailure(const QString& path, const QFile& file) {
  return QStringLiteral("Cannot read %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
}

// Reads the file at `path` whole into `bytes`. Returns the reason in plain words when it cannot, else nothing. The
// buffer is made the file's size at once: growing it as it fills could take nearly twice the room.
QString readWholeFile(const QString& path, QByteArray& bytes) {
  QFile file;
  if (QString error = openFixFile(path, file); !error.isEmpty()) return error;
  const qint64 size = file.size();
  if (size > 0) {
    bytes = QByteArray(size, Qt::Uninitialized);
    bytes.truncate(std::max<qint64>(file.read(bytes.data(), size), 0));
  }
  if (file.error() == QFileDevice::NoError) bytes += file.readAll();  // what the size did not show, if anything
  if (file.error() == QFileDevice::NoError) return {};
  bytes.clear();
  return readFailure(path, file);
}

// Reads the file at `path` a block at a time and calls `visit` with the bytes of every line, split as FixLines splits
// the whole file; a byte-order mark is still part of the first line. Once the lines of a block are visited, `visitRun`
// gets the bytes they span, line ends included: the file is the sequence of these runs. Only a block and the line it
// ends in take room. Returns the reason in plain words when the file cannot be read, else nothing.
template <typename Visit, typename VisitRun>
QString forEachLineOfFile(const QString& path, Visit visit, VisitRun visitRun) {
  QFile file;
  if (QString error = openFixFile(path, file); !error.isEmpty()) return error;
  constexpr qint64 kBlock = qint64{1} << 18;
  QByteArray buffer;
  bool afterCr = false;  // the last block ended with a CR, whose LF may start this one
  for (;;) {
    const qsizetype carried = buffer.size();
    buffer.resize(carried + kBlock);
    const qint64 read = file.read(buffer.data() + carried, kBlock);
    if (read < 0) return readFailure(path, file);
    buffer.truncate(carried + read);
    const bool atEnd = read == 0;
    qsizetype start = 0;
    if (std::exchange(afterCr, false) && !buffer.isEmpty() && buffer.at(0) == '\n') start = 1;
    // What was carried over holds no line end: only the new bytes are looked at, so a long line is scanned once.
    const qsizetype offset = std::max(start, carried);
    qsizetype crAt = -2;
    scanLineEnds(QByteArrayView(buffer).sliced(offset), [&](qsizetype at) {
      at += offset;
      if (buffer.at(at) == '\n' && at == crAt + 1) {  // the LF of a CR LF
        start = at + 1;
        return;
      }
      if (buffer.at(at) == '\r') {
        crAt = at;
        afterCr = at + 1 == buffer.size();
      }
      visit(QByteArrayView(buffer).sliced(start, at - start));
      start = at + 1;
    });
    if (atEnd) {
      if (start < buffer.size()) visit(QByteArrayView(buffer).sliced(start));
      visitRun(QByteArrayView(buffer));
      return {};
    }
    visitRun(QByteArrayView(buffer).first(start));
    buffer.remove(0, start);
  }
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
  QByteArray bytes;
  QString error = readWholeFile(path, bytes);
  if (!error.isEmpty()) return {false, std::move(error), {}};
  return {true, {}, splitLines(decodeFixText(bytes))};
}

FixLines::FixLines(QByteArray bytes) : bytes_(std::move(bytes)) {
  // CR and LF bytes stand for CR and LF in both encodings and occur inside no other character, so the bytes split
  // where the decoded text splits. A line ends at a CR or an LF, and the LF right after a CR belongs to that CR.
  ends_.reserve(static_cast<std::size_t>(bytes_.size() / 16));
  qsizetype crAt = -2;
  const bool ascii = scanLineEnds(bytes_, [this, &crAt](qsizetype at) {
    if (bytes_.at(at) == '\r')
      crAt = at;
    else if (at == crAt + 1)
      return;
    ends_.push_back(at);
  });
  utf8_ = ascii || isStrictUtf8(bytes_);
  if (utf8_ && QByteArrayView(bytes_).startsWith(QByteArrayView(kUtf8Bom.data(), kUtf8Bom.size())))
    begin_ = kUtf8Bom.size();
  // The last line needs no line end; the empty piece after a final line end is no line.
  const qsizetype lastStart = ends_.empty() ? begin_ : lineStartAfter(ends_.back());
  if (lastStart != bytes_.size()) ends_.push_back(bytes_.size());
}

QByteArrayView FixLines::bytes(qsizetype index) const {
  const auto i = static_cast<std::size_t>(index);
  const qsizetype start = i == 0 ? begin_ : lineStartAfter(ends_[i - 1]);
  return QByteArrayView(bytes_).sliced(start, ends_[i] - start);
}

void FixLines::decode(QByteArrayView bytes, bool utf8, QString& out) {
  if (isAscii(bytes)) {
    out.resize(bytes.size());
    char16_t* p = reinterpret_cast<char16_t*>(out.data());
    for (const char c : bytes) *p++ = static_cast<unsigned char>(c);
  } else if (utf8) {
    // As decodeFixText: a byte-order mark inside the text is kept as the character it is.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    out.resize(decoder.requiredSpace(bytes.size()));
    const QChar* const end = decoder.appendToBuffer(out.data(), bytes);
    out.truncate(end - out.constData());
  } else {
    out = fromWindows1252(bytes);
  }
}

std::vector<FixLines> FixLines::linesByCode(const QStringList& codes) const {
  std::vector<QByteArray> encoded;
  std::unordered_map<std::string_view, std::size_t> group;
  encoded.reserve(static_cast<std::size_t>(codes.size()));
  // The views point into `encoded`, whose room is reserved so that they stay valid.
  for (qsizetype i = 0; i < codes.size(); ++i) {
    const std::optional<QByteArray> bytes = encode(codes.at(i));
    encoded.push_back(bytes.value_or(QByteArray()));
    if (bytes)
      group.emplace(std::string_view(encoded.back().constData(), static_cast<std::size_t>(encoded.back().size())),
                    static_cast<std::size_t>(i));
  }
  std::vector<FixLines> groups(static_cast<std::size_t>(codes.size()));
  // The group of each line, or none; lines of one country often follow each other, so the last code is tried first.
  constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> sizes(groups.size(), 0);
  std::vector<std::size_t> counts(groups.size(), 0);
  std::vector<std::uint32_t> lineGroup;
  lineGroup.reserve(ends_.size());
  std::string_view last;
  std::size_t lastGroup = kNone;
  bool any = false;
  forEachLine([&](QByteArrayView line) {
    std::size_t g = kNone;
    if (const std::optional<QByteArrayView> code = detail::countryField(line)) {
      const std::string_view key(code->data(), static_cast<std::size_t>(code->size()));
      if (any && key == last) {
        g = lastGroup;
      } else {
        const auto found = group.find(key);
        g = found == group.end() ? kNone : found->second;
        last = key;
        lastGroup = g;
        any = true;
      }
    }
    lineGroup.push_back(g == kNone ? std::numeric_limits<std::uint32_t>::max() : static_cast<std::uint32_t>(g));
    if (g == kNone) return;
    sizes[g] += static_cast<std::size_t>(line.size()) + 1;
    ++counts[g];
  });
  for (std::size_t g = 0; g < groups.size(); ++g) {
    groups[g].utf8_ = utf8_;
    groups[g].bytes_.reserve(static_cast<qsizetype>(sizes[g]));
    groups[g].ends_.reserve(counts[g]);
  }
  std::size_t index = 0;
  forEachLine([&](QByteArrayView line) {
    const std::uint32_t g = lineGroup[index++];
    if (g == std::numeric_limits<std::uint32_t>::max()) return;
    FixLines& kept = groups[g];
    kept.bytes_.append(line);
    kept.ends_.push_back(kept.bytes_.size());
    kept.bytes_.append('\n');
  });
  return groups;
}

QString FixLines::at(qsizetype index) const {
  QString line;
  decode(bytes(index), line);
  return line;
}

QStringList FixLines::toStringList() const {
  QStringList lines;
  lines.reserve(size());
  for (qsizetype i = 0; i < size(); ++i) lines.append(at(i));
  return lines;
}

std::optional<QByteArray> FixLines::encode(QStringView text) const { return encodeAs(text, utf8_); }

FixFileLines readFixFileLines(const QString& path) {
  FixFileLines result;
  QByteArray bytes;
  result.error = readWholeFile(path, bytes);
  result.ok = result.error.isEmpty();
  if (result.ok) result.lines = FixLines(std::move(bytes));
  return result;
}

// Which file a pass read: a file changed between two passes gives lines that the codes of the first do not describe.
FixFileStamp stampOf(const QString& path) {
  const QFileInfo info(path);
  return {info.size(), info.lastModified()};
}

FixFileCodes readFixFileCodes(const QString& path) {
  FixFileCodes result;
  result.stamp = stampOf(path);
  // The codes are kept as bytes until the whole file has told how it decodes, each with the room its lines take.
  std::vector<QByteArray> codes;
  std::unordered_map<std::string_view, std::size_t> seen;
  std::size_t current = 0;
  bool any = false;
  bool utf8 = true;
  result.error = forEachLineOfFile(
      path,
      [&](QByteArrayView line) {
        const std::optional<QByteArrayView> code = detail::countryField(line);
        if (!code) return;
        // Lines of one country often follow each other, so the last code is checked first.
        if (!any || !sameBytes(*code, codes[current])) {
          const auto found = seen.find(std::string_view(code->data(), static_cast<std::size_t>(code->size())));
          if (found != seen.end()) {
            current = found->second;
          } else {
            current = codes.size();
            codes.push_back(code->toByteArray());
            result.room.push_back({0, 0});
            seen.emplace(std::string_view(codes.back().constData(), static_cast<std::size_t>(codes.back().size())),
                         current);
          }
          any = true;
        }
        result.room[current].bytes += line.size() + 1;
        ++result.room[current].lines;
      },
      // A valid UTF-8 sequence holds no CR or LF byte, so the file is valid UTF-8 exactly when each run is.
      [&utf8](QByteArrayView run) { utf8 = utf8 && isStrictUtf8(run); });
  if (!result.error.isEmpty()) {
    result.room.clear();
    return result;
  }
  result.ok = true;
  result.utf8 = utf8;
  FixLines decoding;
  decoding.utf8_ = utf8;
  QString text;
  for (const QByteArray& code : codes) {
    decoding.decode(code, text);
    result.codes.append(text);
  }
  return result;
}

bool readInTwoPasses(qint64 size) { return size > (qint64{4} << 20); }

FixFileLines readFixFileLinesOf(const QString& path, const FixFileCodes& file, const QStringList& codes) {
  FixFileLines result;
  std::vector<QByteArray> wanted;
  for (const QString& code : codes)
    if (std::optional<QByteArray> bytes = encodeAs(code, file.utf8)) wanted.push_back(std::move(*bytes));
  FixLines& kept = result.lines;
  kept.utf8_ = file.utf8;
  qsizetype bytes = 0;
  qsizetype lines = 0;
  for (const QString& code : codes)
    if (const qsizetype i = file.codes.indexOf(code); i >= 0) {
      bytes += file.room[static_cast<std::size_t>(i)].bytes;
      lines += file.room[static_cast<std::size_t>(i)].lines;
    }
  const auto changed = [&path, &file](FixFileLines& read) {
    if (read.ok && stampOf(path) != file.stamp) {
      read = FixFileLines();
      read.error =
          QStringLiteral("%1 changed while it was read; try again once it is written").arg(QFileInfo(path).fileName());
    }
    return read;
  };
  // Lines that make up most of the file are read quicker with the file whole, in twice their room at most.
  if (2 * bytes >= file.stamp.size) {
    FixFileLines whole = readFixFileLines(path);
    return changed(whole);
  }
  kept.bytes_.reserve(bytes);
  kept.ends_.reserve(static_cast<std::size_t>(lines));
  bool first = true;
  // Each kept line is followed by an LF, which ends a line in either encoding.
  result.error = forEachLineOfFile(
      path,
      [&](QByteArrayView line) {
        if (std::exchange(first, false) && file.utf8 &&
            line.startsWith(QByteArrayView(kUtf8Bom.data(), kUtf8Bom.size())))
          line = line.sliced(kUtf8Bom.size());
        const std::optional<QByteArrayView> code = detail::countryField(line);
        if (!code ||
            std::none_of(wanted.begin(), wanted.end(), [&code](const QByteArray& w) { return sameBytes(*code, w); }))
          return;
        kept.bytes_.append(line);
        kept.ends_.push_back(kept.bytes_.size());
        kept.bytes_.append('\n');
      },
      [](QByteArrayView) {});
  result.ok = result.error.isEmpty();
  if (!result.ok) result.lines = FixLines();
  return changed(result);
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

QStringList collectCodes(const FixLines& lines) {
  // Distinct bytes are distinct texts, since either encoding decodes different bytes to different texts; each code is
  // decoded once, when it is new. Lines of one country often follow each other, so the last code is checked first.
  ByteViewSet seen;
  QStringList codes;
  QByteArrayView last;
  bool any = false;
  lines.forEachLine([&](QByteArrayView line) {
    const std::optional<QByteArrayView> code = detail::countryField(line);
    if (!code || (any && sameBytes(*code, last))) return;
    last = *code;
    any = true;
    if (!seen.insert(*code)) return;
    QString text;
    lines.decode(*code, text);
    codes.append(text);
  });
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

std::optional<QByteArrayView> countryField(QByteArrayView line) {
  const char* const begin = line.data();
  const char* const end = begin + line.size();
  const char* start = begin;
  while (start != end && *start != ';') ++start;
  if (start == end) return std::nullopt;
  const char* stop = ++start;
  while (stop != end && *stop != ';') ++stop;
  return QByteArrayView(start, stop - start);
}

}  // namespace detail

}  // namespace skelvor
