#include "selection.h"

#include "prefetch.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace skelvor {

namespace {

// Whether the eight characters from `p` on are all spaces.
bool eightSpaces(const char16_t* p) {
  constexpr std::uint64_t kFourSpaces = 0x0020002000200020u;
  std::uint64_t first;
  std::uint64_t second;
  std::memcpy(&first, p, sizeof first);
  std::memcpy(&second, p + 4, sizeof second);
  return first == kFourSpaces && second == kFourSpaces;
}
constexpr char16_t kNoSingleUpper = 0xFFFF;
constexpr std::size_t kTableSize = std::tuple_size_v<UpperTable>;

// The upper case that QString::toUpper gives each character below U+0800 (Latin, Greek, Cyrillic, Armenian, Hebrew,
// Arabic), or kNoSingleUpper for the few whose upper case is more than one character, such as ß (SS).
const UpperTable& upperTable() {
  static const UpperTable table = [] {
    UpperTable upper{};
    for (std::size_t c = 0; c < kTableSize; ++c) {
      const QString mapped = QString(QChar(static_cast<char16_t>(c))).toUpper();
      upper[c] = mapped.size() == 1 ? mapped[0].unicode() : kNoSingleUpper;
    }
    return upper;
  }();
  return table;
}

// Whether every character of `text` has a one-character upper case in the table.
bool upperCasedByTable(QStringView text, const UpperTable& upper) {
  char16_t bits = 0;
  for (const QChar c : text) bits |= c.unicode();
  if (bits < 0x80) return true;  // ASCII, the usual case, settled by one quick pass
  for (const QChar c : text)
    if (c.unicode() >= kTableSize || upper[c.unicode()] == kNoSingleUpper) return false;
  return true;
}

// Whether `upperNeedle` occurs in `text` upper-cased through the table, which holds every character of `text`.
bool containsUpperCased(QStringView text, QStringView upperNeedle, const UpperTable& upper) {
  const qsizetype needleSize = upperNeedle.size();
  if (needleSize == 0) return true;
  const char16_t* const row = text.utf16();
  const char16_t* const needle = upperNeedle.utf16();
  const bool skipSpaces = needle[0] != u' ';
  for (qsizetype at = 0; at + needleSize <= text.size(); ++at) {
    // No match starts in the run of 120 spaces of a result row unless the search text starts with a space.
    if (skipSpaces && row[at] == u' ') {
      while (at + 9 <= text.size() && eightSpaces(row + at + 1)) at += 8;
      continue;
    }
    if (upper[row[at]] != needle[0]) continue;
    qsizetype k = 1;
    while (k < needleSize && upper[row[at + k]] == needle[k]) ++k;
    if (k == needleSize) return true;
  }
  return false;
}

}  // namespace

// Find compares the upper-cased row with the upper-cased search text. Upper-casing every row with QString::toUpper
// would cost a new string and a slow case lookup per character, so rows whose characters all have a one-character upper
// case in a small table (fix files nearly always hold such rows only) are compared in place, each character
// upper-cased as it is compared. Other rows are upper-cased whole.
RowFinder::RowFinder(QStringView search) : upper_(upperTable()), needle_(search.toString().toUpper()) {}

bool RowFinder::holds(QStringView row) const {
  return upperCasedByTable(row, upper_) ? containsUpperCased(row, needle_, upper_)
                                        : row.toString().toUpper().contains(needle_);
}

Matches findRows(const QStringList& rows, QStringView search) {
  const RowFinder finder(search);
  Matches matches;
  constexpr qsizetype kAhead = 4;
  for (qsizetype index = 0; index < rows.size(); ++index) {
    // A sorted list's rows lie in memory in the order they were made: each is asked for a few steps ahead.
    if (index + kAhead < rows.size()) prefetch(rows.at(index + kAhead).constData());
    if (!finder.holds(rows.at(index))) continue;
    ++matches.count;
    if (!matches.ranges.isEmpty() && matches.ranges.constLast().second == index - 1)
      matches.ranges.last().second = index;
    else
      matches.ranges.append({index, index});
  }
  return matches;
}

QString resultsLabel(qsizetype count, const QString& total) {
  QString label = QString::number(count);
  label += count > 1 ? QLatin1String(" results of ") : QLatin1String(" result of ");
  label += total;
  label += QLatin1String(" objects.");
  return label;
}

}  // namespace skelvor
