#pragma once

#include "fixtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <bit>
#include <functional>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skelvor {

/// File kinds, as the file list's Tag carries them.
inline constexpr char kNavaids[] = "NAV";
inline constexpr char kWaypoints[] = "WPT";
inline constexpr char kAirports[] = "APT";

struct FixFileCodes;
struct FixFileLines;
struct FixFileSelection;

/// The lines of a fix file, held as the file's own bytes and the end of each line, which takes about the file's size
/// in memory (a string per line takes three to four times as much). A line is decoded when it is read. The lines and
/// their texts are those of decodeFixText(bytes) split at each CR LF, lone LF and lone CR; the last line counts whether
/// or not a line end follows it, and the empty piece after a final line end is no line.
class FixLines {
 public:
  FixLines() = default;
  explicit FixLines(QByteArray bytes);

  qsizetype size() const { return static_cast<qsizetype>(ends_.size()); }
  bool isEmpty() const { return ends_.empty(); }
  /// The bytes of all lines together, line ends included.

  /// Calls `visit` with the bytes of every line, in order.
  template <typename Visit>
  void forEachLine(Visit visit) const {
    qsizetype start = begin_;
    for (const qsizetype end : ends_) {
      visit(QByteArrayView(bytes_.constData() + start, end - start));
      start = end < bytes_.size() ? lineStartAfter(end) : end;
    }
  }
  /// Decodes `bytes`, a piece of one line, into `out`, whose room is reused.
  void decode(QByteArrayView bytes, QString& out) const { decode(bytes, utf8_, out); }
  /// Decodes `bytes` as lines decode that are UTF-8 (`utf8`) or Windows-1252.
  static void decode(QByteArrayView bytes, bool utf8, QString& out);
  /// Whether the lines are UTF-8; otherwise they are Windows-1252.
  bool isUtf8() const { return utf8_; }
  /// The bytes that hold the lines, each followed by its line end (the last perhaps by none); the views that
  /// forEachLine gives point into them.
  const QByteArray& buffer() const { return bytes_; }
  /// `text` as these lines write it, or nothing when no piece of them can decode to it.
  std::optional<QByteArray> encode(QStringView text) const;

  /// For each of `codes`, the lines whose country code (field 1) is that code, in order, found in one pass. They decode
  /// as these lines decode, and take about their own bytes in memory, so the file can be let go once they are made.
  std::vector<FixLines> linesByCode(const QStringList& codes) const;

 private:
  friend FixFileCodes readFixFileCodes(const QString& path);
  friend FixFileLines readFixFileLinesOf(const QString& path, const FixFileCodes& file, const QStringList& codes);
  friend FixFileSelection readFixFileLinesWhere(const QString& path, const std::function<bool(QByteArrayView)>& keep);

  // Where the line after the line end at `end` starts: past CR LF, or past a lone CR or LF.
  qsizetype lineStartAfter(qsizetype end) const {
    const bool crLf = bytes_.at(end) == '\r' && end + 1 < bytes_.size() && bytes_.at(end + 1) == '\n';
    return end + (crLf ? 2 : 1);
  }

  QByteArray bytes_;
  qsizetype begin_ = 0;  // where the text starts: after a byte-order mark, if any
  bool utf8_ = true;
  std::vector<qsizetype> ends_;  // where each line ends, before its line end
};

/// Each distinct country code (field 1, taken unchanged) once, in the order of first appearance. A line with fewer
/// than two fields adds nothing; an empty field 1 is a code like any other.
QStringList collectCodes(const FixLines& lines);

namespace detail {

/// Field 1 of a line, the text between its first and second ";" (or the line end), or nothing when the line has no
/// ";" and so fewer than two fields. Where the processor has SSE2, the two ";" of a line whose first sixteen bytes hold
/// them, as nearly every fix line's do, are found in one step: the click on the 300,000-line file of the benchmarks
/// takes 5.7 ms with it and 6.2 ms without, against 6.0 ms for twice the reading (en_US).
inline std::optional<QByteArrayView> countryField(QByteArrayView line) {
  const char* const begin = line.data();
#if defined(__SSE2__)
  if (line.size() >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
    auto semicolons = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(';'))));
    const int first = std::countr_zero(semicolons);
    semicolons &= semicolons - 1;
    if (semicolons != 0) return QByteArrayView(begin + first + 1, begin + std::countr_zero(semicolons));
  }
#endif
  const char* const end = begin + line.size();
  const char* start = begin;
  while (start != end && *start != ';') ++start;
  if (start == end) return std::nullopt;
  const char* stop = ++start;
  while (stop != end && *stop != ';') ++stop;
  return QByteArrayView(start, stop - start);
}

/// Calls `onLineEnd` with the position of every CR and LF byte of `bytes`, in order, and tells whether all of `bytes`
/// is ASCII. Where the processor has SSE2 (every x86-64 one), sixteen bytes are looked at in one step: the click on
/// the 300,000-line file of the benchmarks takes 5.6 ms with it and 10.0 ms without (en_US).
template <typename OnLineEnd>
inline bool scanLineEnds(QByteArrayView bytes, OnLineEnd onLineEnd) {
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

/// Whether two short byte strings are equal; cheaper inline than a library call for a country code, and for the usual
/// code of two bytes without a branch on the bytes.
inline bool sameBytes(QByteArrayView a, QByteArrayView b) {
  if (a.size() != b.size()) return false;
  if (a.size() == 2) return ((a[0] ^ b[0]) | (a[1] ^ b[1])) == 0;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace detail

}  // namespace skelvor
