#pragma once

#include "fixtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skelvor {

/// File kinds, as the file list's Tag carries them.
inline constexpr char kNavaids[] = "NAV";
inline constexpr char kWaypoints[] = "WPT";
inline constexpr char kAirports[] = "APT";

/// The lines of a fix file, held as the file's own bytes and the end of each line, which takes about the file's size
/// in memory (a string per line takes three to four times as much). A line is decoded when it is read. The lines and
/// their texts are those of decodeFixText(bytes) split by detail::LineSplitter's rule.
class FixLines {
 public:
  class Builder;

  FixLines() = default;
  /// The lines of a whole file, `bytes`, which they keep.
  explicit FixLines(QByteArray bytes);

  qsizetype size() const { return static_cast<qsizetype>(ends_.size()); }
  bool isEmpty() const { return ends_.empty(); }

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

/// Makes FixLines: either every line of one buffer, a whole file, which the lines keep as it is; or lines copied in
/// one by one, in the order of the file, each then followed by an LF, which ends a line in either encoding, so that
/// only they take room.
class FixLines::Builder {
 public:
  /// Lines copied in by add().
  Builder() = default;
  /// Lines that are every line of `whole`, each ending where `ends` says, before its line end.
  Builder(QByteArray whole, std::vector<qsizetype> ends) {
    lines_.bytes_ = std::move(whole);
    lines_.ends_ = std::move(ends);
  }

  /// Makes room for lines copied in that take `bytes` with their line ends and number `lines`.
  void reserve(qsizetype bytes, qsizetype lines) {
    lines_.bytes_.reserve(bytes);
    lines_.ends_.reserve(static_cast<std::size_t>(lines));
  }
  /// Adds `line`, without its line end.
  void add(QByteArrayView line) {
    lines_.bytes_.append(line);
    lines_.ends_.push_back(lines_.bytes_.size());
    lines_.bytes_.append('\n');
  }
  /// The lines, which decode as UTF-8 (`utf8`) or Windows-1252. When `fromFileStart`, the first line added is the
  /// first of its file, and in a UTF-8 file a byte-order mark that begins it is the file's mark, no text.
  FixLines finish(bool utf8, bool fromFileStart) && {
    lines_.utf8_ = utf8;
    const QByteArrayView bom(detail::kUtf8Bom.data(), detail::kUtf8Bom.size());
    if (utf8 && fromFileStart && !lines_.ends_.empty() && QByteArrayView(lines_.bytes_).startsWith(bom))
      lines_.begin_ = bom.size();
    return std::move(lines_);
  }

 private:
  FixLines lines_;
};

/// Each distinct country code (field 1, taken unchanged) once, in the order of first appearance. A line with fewer
/// than two fields adds nothing; an empty field 1 is a code like any other.
QStringList collectCodes(const FixLines& lines);

namespace detail {

/// Field 1 of a line, the text between its first and second ";" (or the line end), or nothing when the line has no
/// ";" and so fewer than two fields.
inline std::optional<QByteArrayView> countryField(QByteArrayView line) {
  const char* const end = line.data() + line.size();
  const char* start = line.data();
  while (start != end && *start != ';') ++start;
  if (start == end) return std::nullopt;
  const char* stop = ++start;
  while (stop != end && *stop != ';') ++stop;
  return QByteArrayView(start, stop - start);
}

/// Calls `onLineEnd` with the position of every CR and LF byte of `bytes`, in order, and tells whether all of `bytes`
/// is ASCII. Where the processor has SSE2 (every x86-64 one), sixteen bytes are looked at in one step, since the click
/// on the 300,000-line file of the benchmarks must take at most twice reading that file and counting its lines: with
/// it the click takes 5.9 ms against 3.5 ms of reading (en_US) and 5.4 against 3.6 (fr_FR); a byte at a time, 11.6
/// against 3.6 and 12.0 against 3.5 (medians of runs on a shared two-core machine).
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

/// The one rule by which the bytes of a fix file split into lines, given a block at a time (a whole file is one
/// block): CR LF, a lone LF and a lone CR each end a line, and the LF right after a CR belongs to it; the last line
/// needs no line end, and the empty piece after a final line end is no line. CR and LF bytes stand for CR and LF in
/// both encodings and occur inside no other character, so the bytes split where the decoded text splits. A byte-order
/// mark stays at the start of the first line, since only the whole file tells whether it is one; a file that holds
/// the mark alone has no line. The splitter also tells whether all the bytes it was given are strict UTF-8.
class LineSplitter {
 public:
  /// Calls `visit` with each line that ends in `block`, as a view into it, in order, and returns where the line that
  /// `block` leaves unfinished starts: those bytes, which hold no line end, begin the next block, in which they are
  /// the first `carried` bytes.
  template <typename Visit>
  qsizetype splitBlock(QByteArrayView block, qsizetype carried, Visit visit) {
    qsizetype start = 0;
    qsizetype crAt = std::exchange(afterCr_, false) ? -1 : -2;  // a CR that ended the last block is at -1
    // The carried bytes were scanned with the last block: a long line is scanned once.
    ascii_ = scanLineEnds(block.sliced(carried),
                          [&](qsizetype at) {
                            at += carried;
                            if (block[at] == '\r') {
                              crAt = at;
                            } else if (at == crAt + 1) {  // the LF of a CR LF
                              start = at + 1;
                              return;
                            }
                            first_ = false;
                            visit(block.sliced(start, at - start));
                            start = at + 1;
                          }) &&
             ascii_;
    afterCr_ = crAt >= 0 && crAt == block.size() - 1;
    // A valid UTF-8 sequence holds no CR or LF byte, so the bytes are valid UTF-8 exactly when each run of whole lines
    // is.
    if (utf8_ && !ascii_) utf8_ = isStrictUtf8(block.first(start));
    return start;
  }

  /// Calls `visit` with the last line, `rest`, the bytes that the last block left unfinished, if they make a line.
  template <typename Visit>
  void finish(QByteArrayView rest, Visit visit) {
    if (utf8_ && !ascii_) utf8_ = isStrictUtf8(rest);
    if (rest.isEmpty() || (first_ && rest == QByteArrayView(kUtf8Bom.data(), kUtf8Bom.size()))) return;
    first_ = false;
    visit(rest);
  }

  /// Whether all the bytes given so far are strict UTF-8.
  bool isUtf8() const { return utf8_; }

 private:
  bool afterCr_ = false;  // the last block ended with a CR, whose LF may begin this one
  bool first_ = true;     // no line was visited yet
  bool ascii_ = true;
  bool utf8_ = true;
};

/// The distinct country codes of some lines, as bytes, each with its number in the order of first appearance. Country
/// codes have two bytes, and each two-byte code has a place of its own in a table, which a line looks up in one step;
/// other codes go to a hash map. The table is there because the click on the 300,000-line file of the benchmarks must
/// take at most twice reading that file and counting its lines: with it 5.9 ms against 3.5 ms (en_US) and 5.4 against
/// 3.6 (fr_FR); with the hash map alone 8.9 against 3.5 and 9.5 against 3.0.
class CodeSet {
 public:
  /// The number of `code`, which is added when it is new.
  std::size_t add(QByteArrayView code) {
    if (code.size() == 2) {
      std::uint32_t& slot = pairs_[pairOf(code)];
      if (slot == 0) {
        slot = static_cast<std::uint32_t>(codes_.size() + 1);
        codes_.push_back(code.toByteArray());
      }
      return slot - 1;
    }
    if (const auto found = others_.find(key(code)); found != others_.end()) return found->second;
    codes_.push_back(code.toByteArray());
    others_.emplace(key(codes_.back()), codes_.size() - 1);
    return codes_.size() - 1;
  }
  /// The number of `code`, or nothing when it is not in the set.
  std::optional<std::size_t> find(QByteArrayView code) const {
    if (code.size() == 2) {
      const std::uint32_t slot = pairs_[pairOf(code)];
      return slot == 0 ? std::nullopt : std::optional<std::size_t>(slot - 1);
    }
    const auto found = others_.find(key(code));
    return found == others_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
  }
  std::size_t size() const { return codes_.size(); }
  /// The codes, in order, decoded as lines of UTF-8 (`utf8`) or Windows-1252 decode.
  QStringList decoded(bool utf8) const;

 private:
  static std::size_t pairOf(QByteArrayView code) {
    return static_cast<std::size_t>(static_cast<unsigned char>(code[0]) << 8 | static_cast<unsigned char>(code[1]));
  }
  static std::string_view key(QByteArrayView code) {
    return std::string_view(code.data(), static_cast<std::size_t>(code.size()));
  }

  std::vector<QByteArray> codes_;  // a code's bytes stay where they are when the vector grows
  std::vector<std::uint32_t> pairs_ = std::vector<std::uint32_t>(std::size_t{1} << 16);  // number + 1, or 0
  std::unordered_map<std::string_view, std::size_t> others_;
};

}  // namespace detail

}  // namespace skelvor
