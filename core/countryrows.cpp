#include "countryrows.h"

#include <algorithm>
#include <array>

namespace skelvor {

namespace {

// The upper case of the characters below U+0800 that have a one-character upper case.
using UpperTable = std::array<char16_t, 0x800>;

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

// Find's test of one row: whether its whole text contains the search text, letter case ignored. Upper-casing every
// row with QString::toUpper would cost a new string and a slow case lookup per character, so rows whose characters all
// have a one-character upper case in a small table (fix files nearly always hold such rows only) are compared in
// place, each character upper-cased as it is compared. Other rows are upper-cased whole.
class RowFinder {
 public:
  explicit RowFinder(QStringView search) : upper_(upperTable()), needle_(search.toString().toUpper()) {}

  bool holds(QStringView row) const {
    if (!inTable(row)) return row.toString().toUpper().contains(needle_);
    const qsizetype size = needle_.size();
    if (size == 0) return true;
    const char16_t first = needle_[0].unicode();
    for (qsizetype at = 0; at + size <= row.size(); ++at) {
      if (upper_[row[at].unicode()] != first) continue;
      qsizetype k = 1;
      while (k < size && upper_[row[at + k].unicode()] == needle_[k]) ++k;
      if (k == size) return true;
    }
    return false;
  }
  // Whether a row's compact text gives the answer of its whole text: the search holds no space, so it cannot meet the
  // run of spaces.
  bool spaceFree() const { return !needle_.contains(u' '); }

 private:
  // Whether every character of `row` has its one-character upper case in the table; an ASCII row, the usual case, is
  // told by one quick pass.
  bool inTable(QStringView row) const {
    char16_t bits = 0;
    for (const QChar c : row) bits |= c.unicode();
    if (bits < 0x80) return true;
    return std::all_of(row.begin(), row.end(),
                       [&](QChar c) { return c.unicode() < kTableSize && upper_[c.unicode()] != kNoSingleUpper; });
  }

  const UpperTable& upper_;
  QString needle_;
};

// Calls `visit` with the bytes of every line of `lines` whose country code is `code` and that gives a row of `kind`, in
// file order. The code is compared in the file's own bytes, without decoding a line.
template <typename Visit>
void forEachRowLine(const FixLines& lines, QStringView code, RowKind kind, Visit visit) {
  const std::optional<QByteArray> wanted = lines.encode(code);
  if (!wanted || kind == RowKind::None) return;
  lines.forEachLine([&](QByteArrayView line) {
    const std::optional<QByteArrayView> field = detail::countryField(line);
    if (field && detail::sameBytes(*field, *wanted) && givesRow(line, kind)) visit(line);
  });
}

// The row texts, as the list order reads them.
class RowTexts : public ListItems {
 public:
  explicit RowTexts(const CountryRows& rows) : rows_(rows) {}
  qsizetype size() const override { return rows_.size(); }
  QStringView text(qsizetype i, QString& room) const override { return rows_.item(i, room); }
  QStringView compact(qsizetype i, QString& room) const override { return rows_.compact(i, room); }
  void willRead(qsizetype i) const override { rows_.willRead(i); }
  bool mayGoBeyondLatin1() const override { return !rows_.isAscii(); }

 private:
  const CountryRows& rows_;
};

}  // namespace

CountryRows::CountryRows(const FixLines& lines, QStringView code, QStringView kind)
    : bytes_(lines.buffer()), utf8_(lines.isUtf8()), kind_(rowKind(kind)) {
  const char* const base = bytes_.constData();
  char bits = 0;
  forEachRowLine(lines, code, kind_, [&](QByteArrayView line) {
    starts_.push_back(line.data() - base);
    for (const char c : line) bits |= c;
  });
  ascii_ = (static_cast<unsigned char>(bits) & 0x80) == 0;
}

CountryRows::CountryRows(const FixLines& lines, QStringView code, QStringView kind, const ListOrder& order)
    : CountryRows(lines, code, kind) {
  sort(order);
}

CountryRows::CountryRows(const FixLines& lines, RowKind kind, std::vector<qsizetype> starts)
    : bytes_(lines.buffer()), utf8_(lines.isUtf8()), ascii_(false), kind_(kind), starts_(std::move(starts)) {}

qsizetype CountryRows::count(const FixLines& lines, QStringView code, QStringView kind) {
  qsizetype rows = 0;
  forEachRowLine(lines, code, rowKind(kind), [&rows](QByteArrayView) { ++rows; });
  return rows;
}

void CountryRows::sort(const ListOrder& order) {
  // The rows are put in the first order before it is checked, so that the check reads where they start in turn.
  const std::vector<qsizetype> presorted = order.presorted(RowTexts(*this));
  reorder(presorted);
  reorder(order.corrections(RowTexts(*this), presorted));
}

void CountryRows::reorder(const std::vector<qsizetype>& places) {
  if (places.empty()) return;
  std::vector<qsizetype> starts;
  starts.reserve(places.size());
  for (const qsizetype place : places) starts.push_back(starts_[static_cast<std::size_t>(place)]);
  starts_ = std::move(starts);
}

FixRow CountryRows::row(qsizetype place) const {
  // The line gave a row when the rows were made, so it gives one now.
  return *readRow(QByteArrayView(bytes_).sliced(starts_[static_cast<std::size_t>(place)]), kind_);
}

WaypointText CountryRows::waypoint(qsizetype place) const {
  return *readWaypoint(QByteArrayView(bytes_).sliced(starts_[static_cast<std::size_t>(place)]), kind_);
}

QStringView CountryRows::text(qsizetype place, qsizetype gap, Room& room) const {
  const FixRow fields = row(place);
  room.resize(maxRowSize(fields, gap));
  char16_t* const begin = reinterpret_cast<char16_t*>(room.data());
  return QStringView(begin, writeRow(fields, gap, utf8_, begin));
}

QStringView CountryRows::item(qsizetype place, Room& room) const { return text(place, kRowGap, room); }

QStringView CountryRows::compact(qsizetype place, Room& room) const { return text(place, 1, room); }

Matches CountryRows::find(QStringView search) const {
  const RowFinder finder(search);
  // A search with no space cannot meet the run of spaces, so a row's compact text gives the answer of its whole text.
  const qsizetype gap = finder.spaceFree() ? 1 : kRowGap;
  Matches matches;
  Room room;
  for (qsizetype place = 0; place < size(); ++place) {
    if (place + kReadAhead < size()) willRead(place + kReadAhead);
    if (finder.holds(text(place, gap, room))) matches.add(place);
  }
  return matches;
}

std::vector<bool> CountryRows::taken(const std::optional<QString>& search) const {
  std::vector<bool> flags(static_cast<std::size_t>(size()), !search.has_value());
  if (search)
    for (const auto& [first, last] : find(*search).ranges)
      std::fill(flags.begin() + first, flags.begin() + last + 1, true);
  return flags;
}

}  // namespace skelvor
