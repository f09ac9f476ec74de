#include "countryrows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

namespace skelvor {

namespace {

// The upper case of the characters below U+0800 that have a one-character upper case.
using UpperTable = std::array<char16_t, 0x800>;

constexpr qsizetype kGapWidth = 120;

enum class RowKind { None, Navaids, Waypoints, Airports };

RowKind rowKind(QStringView kind) {
  if (kind == QLatin1StringView(kNavaids)) return RowKind::Navaids;
  if (kind == QLatin1StringView(kWaypoints)) return RowKind::Waypoints;
  if (kind == QLatin1StringView(kAirports)) return RowKind::Airports;
  return RowKind::None;
}

// The most columns any kind reads: a navaid uses columns 0 to 9.
constexpr std::size_t kMaxColumns = 10;

// The leading columns of a line, where each starts and stops; only those that splitColumns found are set. The bytes
// ";", " " and "A" stand for those characters in either encoding and occur inside no other character, so a line's
// columns, trimmed or not, decode to the columns of its decoded text.
struct Columns {
  std::array<const char*, kMaxColumns> starts;
  std::array<const char*, kMaxColumns> stops;
  QByteArrayView operator[](std::size_t i) const { return QByteArrayView(starts[i], stops[i]); }
  // Leaves out the spaces, and no other blanks, at both ends of column `i`.
  void trim(std::size_t i) {
    while (starts[i] != stops[i] && *starts[i] == ' ') ++starts[i];
    while (stops[i] != starts[i] && stops[i][-1] == ' ') --stops[i];
  }
};

// Splits the line at the start of `from`, which ends at its first CR or LF or with `from`, at every ";" into its
// leading columns, at most `wanted` of them, and returns how many it found. A column that is not the line's last ends
// at its ";", so the columns after the wanted ones never leak into the last. Where the processor has SSE2, sixteen
// bytes are looked at in one step: the pick of the benchmarks' largest country takes 10.5 ms with it and 12.9 ms
// without, Find 3.9 and 4.8 ms, skelvor-export of the 2,850,000 rows of bench/large_country.sh 1.31 and 1.48 s (en_US).
std::size_t splitColumns(QByteArrayView from, std::size_t wanted, Columns& columns) {
  const char* p = from.data();
  const char* const end = p + from.size();
  std::size_t count = 0;
  columns.starts[0] = p;
  // Ends the current column at the ";" at `at`; true once the wanted columns are found.
  const auto endColumn = [&](const char* at) {
    columns.stops[count++] = at;
    if (count == wanted) return true;
    columns.starts[count] = at + 1;
    return false;
  };
#if defined(__SSE2__)
  const __m128i semicolon = _mm_set1_epi8(';');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr));
    auto stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ends, _mm_cmpeq_epi8(block, semicolon))));
    for (; stops != 0; stops &= stops - 1) {
      const char* const at = p + std::countr_zero(stops);
      if (*at != ';') {
        columns.stops[count] = at;
        return count + 1;
      }
      if (endColumn(at)) return count;
    }
  }
#endif
  for (; p != end && *p != '\n' && *p != '\r'; ++p)
    if (*p == ';' && endColumn(p)) return count;
  columns.stops[count] = p;
  return count + 1;
}

// The columns a row of each kind shows: the last it reads, and those of its latitude and longitude.
constexpr std::size_t lastColumn(RowKind kind) {
  return kind == RowKind::Navaids ? 9 : kind == RowKind::Airports ? 8 : 3;
}
constexpr std::size_t latitudeColumn(RowKind kind) { return kind == RowKind::Waypoints ? 2 : 4; }

// Whether the columns that splitColumns found in a line, every column `kind` uses among them, give a row of that kind
// (an airport line's column 2 is exactly "A"); they are trimmed where the row trims them.
bool acceptRow(RowKind kind, Columns& c) {
  if (kind == RowKind::Navaids) {
    c.trim(2);
    c.trim(9);
  } else if (kind == RowKind::Airports) {
    if (!detail::sameBytes(c[2], "A")) return false;
    c.trim(0);
    c.trim(3);
    c.trim(8);
  }
  return true;
}

// Reads into `c` the columns of the row of the fix line at the start of `from` (as splitColumns reads it), trimmed
// where the row trims them; false when the line gives no row of `kind`: a column it uses is missing, or an airport
// line's column 2 is not exactly "A".
bool readRow(QByteArrayView from, RowKind kind, Columns& c) {
  return kind != RowKind::None && splitColumns(from, lastColumn(kind) + 1, c) > lastColumn(kind) && acceptRow(kind, c);
}

// Where the row of `line` lies in `range`, its columns read into `c`; Out too when the line gives no row of `kind`.
// The coordinates are tested first: a line out of range goes no further.
Range::Place placeIn(QByteArrayView line, RowKind kind, const Range& range, Columns& c) {
  if (kind == RowKind::None || splitColumns(line, lastColumn(kind) + 1, c) <= lastColumn(kind))
    return Range::Place::Out;
  const Range::Place place = range.of(c[latitudeColumn(kind)], c[latitudeColumn(kind) + 1]);
  return place != Range::Place::Out && acceptRow(kind, c) ? place : Range::Place::Out;
}

// The most characters the row of `c` takes with a run of `gapWidth` spaces: its columns lie between the start of the
// first and the end of the last, a byte decodes to one character at most, and the pieces between them add seven at
// most.
qsizetype maxRowSize(const Columns& c, RowKind kind, qsizetype gapWidth) {
  return (c.stops[lastColumn(kind)] - c.starts[0]) + 9 + gapWidth;
}

// Writes a piece of a row at `out`: as 16-bit text, decoded as UTF-8 (`utf8`) or Windows-1252; or as the bytes of an
// ASCII row.
char16_t* putPiece(char16_t* out, QByteArrayView bytes, bool utf8) { return detail::decodeInto(bytes, utf8, out); }
char* putPiece(char* out, QByteArrayView bytes, bool) { return std::copy(bytes.begin(), bytes.end(), out); }

// Writes the row of `c` with a run of `gapWidth` spaces at `out`, which has room for maxRowSize; returns its end.
template <typename Char>
Char* writeRow(Char* out, const Columns& c, RowKind kind, qsizetype gapWidth, bool utf8) {
  const auto put = [&](std::size_t i) { out = putPiece(out, c[i], utf8); };
  const auto literal = [&out](std::string_view text) { out = std::copy(text.begin(), text.end(), out); };
  if (kind == RowKind::Navaids) {
    put(2);
    literal(" (");
    put(0);
    literal(") ");
    put(9);
  } else if (kind == RowKind::Airports) {
    put(0);
    if (c[3].isEmpty()) {
      literal("  ---  ");
    } else {
      literal(" (");
      put(3);
      literal(") ");
    }
    put(8);
  } else {
    put(0);
  }
  out = std::fill_n(out, gapWidth, Char(' '));
  *out++ = Char('|');
  put(latitudeColumn(kind));
  *out++ = Char('|');
  put(latitudeColumn(kind) + 1);
  return out;
}

// Calls `visit` with the bytes of every line of `lines` whose country code is `code` and that gives a row, in file
// order. The code and the columns are read in the file's own bytes, without decoding a line.
template <typename Visit>
void forEachRow(const FixLines& lines, QStringView code, RowKind kind, Visit visit) {
  const std::optional<QByteArray> wanted = lines.encode(code);
  if (!wanted || kind == RowKind::None) return;
  const QByteArrayView wantedBytes(*wanted);
  Columns c;
  lines.forEachLine([&](QByteArrayView bytes) {
    const std::optional<QByteArrayView> field = detail::countryField(bytes);
    if (field && detail::sameBytes(*field, wantedBytes) && readRow(bytes, kind, c)) visit(bytes);
  });
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
template <typename Char>
bool containsUpperCased(std::basic_string_view<Char> text, QStringView upperNeedle, const UpperTable& upper) {
  const qsizetype needleSize = upperNeedle.size();
  const auto size = static_cast<qsizetype>(text.size());
  if (needleSize == 0) return true;
  const Char* const row = text.data();
  const char16_t* const needle = upperNeedle.utf16();
  const auto upperAt = [&](qsizetype at) { return upper[static_cast<std::make_unsigned_t<Char>>(row[at])]; };
  const bool skipSpaces = needle[0] != u' ';
  for (qsizetype at = 0; at + needleSize <= size; ++at) {
    // No match starts in the run of 120 spaces of a result row unless the search text starts with a space.
    if (skipSpaces && row[at] == Char(' ')) {
      while (at + 9 <= size && std::all_of(row + at + 1, row + at + 9, [](Char c) { return c == Char(' '); })) at += 8;
      continue;
    }
    if (upperAt(at) != needle[0]) continue;
    qsizetype k = 1;
    while (k < needleSize && upperAt(at + k) == needle[k]) ++k;
    if (k == needleSize) return true;
  }
  return false;
}

// Find's test of one row: whether its whole text contains the search text, letter case ignored. Upper-casing every
// row with QString::toUpper would cost a new string and a slow case lookup per character, so rows whose characters all
// have a one-character upper case in a small table (fix files nearly always hold such rows only) are compared in
// place, each character upper-cased as it is compared. Other rows are upper-cased whole.
class RowFinder {
 public:
  explicit RowFinder(QStringView search) : upper_(upperTable()), needle_(search.toString().toUpper()) {}
  bool holds(QStringView row) const {
    return upperCasedByTable(row, upper_)
               ? containsUpperCased(std::u16string_view(row.utf16(), static_cast<std::size_t>(row.size())), needle_,
                                    upper_)
               : row.toString().toUpper().contains(needle_);
  }
  // The same for the bytes of an ASCII row, whose characters are all in the table.
  bool holds(std::string_view asciiRow) const { return containsUpperCased(asciiRow, needle_, upper_); }
  // Whether a row's compact text gives the answer of its whole text: the search holds no space, so it cannot meet
  // the run of spaces.
  bool spaceFree() const { return !needle_.contains(u' '); }

 private:
  const UpperTable& upper_;
  QString needle_;
};

}  // namespace

CountryRows::CountryRows(const FixLines& lines, QStringView code, QStringView kind, const ListOrder& order)
    : CountryRows(lines, code, kind) {
  sort(order);
}

CountryRows::CountryRows(const FixLines& lines, QStringView code, QStringView kind)
    : bytes_(lines.buffer()), utf8_(lines.isUtf8()), kind_(static_cast<int>(rowKind(kind))) {
  const char* const base = bytes_.constData();
  char bits = 0;
  forEachRow(lines, code, rowKind(kind), [&](QByteArrayView line) {
    starts_.push_back(line.data() - base);
    for (const char c : line) bits |= c;
  });
  ascii_ = (static_cast<unsigned char>(bits) & 0x80) == 0;
}

void CountryRows::sort(const ListOrder& order) { *this = order.sortedRows(*this); }

CountryRows CountryRows::inOrder(const std::vector<qsizetype>& places) const {
  CountryRows rows;
  rows.bytes_ = bytes_;
  rows.utf8_ = utf8_;
  rows.ascii_ = ascii_;
  rows.kind_ = kind_;
  rows.starts_.reserve(places.size());
  for (const qsizetype place : places) rows.starts_.push_back(starts_[static_cast<std::size_t>(place)]);
  return rows;
}

std::function<bool(QByteArrayView)> CountryRows::rangeTest(QStringView kind, const Range& range) {
  return [rows = rowKind(kind), &range](QByteArrayView line) {
    Columns c;
    return placeIn(line, rows, range, c) != Range::Place::Out;
  };
}

std::vector<CountryRows::InRange> CountryRows::inRange(const FixLines& lines, QStringView kind, const Range& range) {
  const RowKind rows = rowKind(kind);
  CountryRows none;
  none.bytes_ = lines.buffer();
  none.utf8_ = lines.isUtf8();
  none.kind_ = static_cast<int>(rows);
  std::vector<InRange> countries;
  std::unordered_map<std::string_view, std::size_t> numbers;  // of each code, in the order of `countries`
  QString code;
  Columns c;
  lines.forEachLine([&](QByteArrayView line) {
    const Range::Place place = placeIn(line, rows, range, c);
    if (place == Range::Place::Out) return;
    const auto [found, added] =
        numbers.emplace(std::string_view(c[1].data(), static_cast<std::size_t>(c[1].size())), countries.size());
    const std::size_t number = found->second;
    if (added) {
      lines.decode(c[1], code);
      countries.push_back({code, none, none});
    }
    CountryRows& taken = place == Range::Place::In ? countries[number].rows : countries[number].unplaced;
    taken.starts_.push_back(line.data() - none.bytes_.constData());
    char bits = 0;
    for (const char b : line) bits |= b;
    taken.ascii_ = taken.ascii_ && (static_cast<unsigned char>(bits) & 0x80) == 0;
  });
  return countries;
}

qsizetype CountryRows::count(const FixLines& lines, QStringView code, QStringView kind) {
  qsizetype rows = 0;
  forEachRow(lines, code, rowKind(kind), [&rows](QByteArrayView) { ++rows; });
  return rows;
}

QByteArrayView CountryRows::from(qsizetype place) const {
  return QByteArrayView(bytes_).sliced(starts_[static_cast<std::size_t>(place)]);
}

std::optional<WaypointBytes> CountryRows::asciiWaypoint(qsizetype place) const {
  // A byte that is not plain sends the row the long way, which also takes a "|" in the coordinates as a row's text
  // does. The line is read only as far as its longitude.
  static constexpr auto kPlain = [] {
    std::array<bool, 256> plain{};
    for (std::size_t b = 0x20; b < 0x80; ++b)
      plain[b] = std::string_view("\"&<>|;").find(static_cast<char>(b)) == std::string_view::npos;
    return plain;
  }();
  const auto kind = static_cast<RowKind>(kind_);
  const std::size_t latitude = latitudeColumn(kind);
  Columns c;
  splitColumns(from(place), latitude + 2, c);
  const std::size_t nameColumn = kind == RowKind::Navaids ? 2 : 0;
  if (kind != RowKind::Waypoints) c.trim(nameColumn);
  QByteArrayView name = c[nameColumn];
  if (const qsizetype space = name.indexOf(' '); space >= 0) name = name.first(space);
  const WaypointBytes fields{name, c[latitude], c[latitude + 1]};
  for (const QByteArrayView field : {fields.name, fields.latitude, fields.longitude})
    for (const char b : field)
      if (!kPlain[static_cast<unsigned char>(b)]) return std::nullopt;
  return fields;
}

template <typename Text>
auto CountryRows::write(qsizetype place, qsizetype gapWidth, Text& room) const {
  using Char = std::conditional_t<std::is_same_v<Text, QString>, char16_t, char>;
  // The line gave a row when the rows were made, so it gives its columns now.
  const auto kind = static_cast<RowKind>(kind_);
  Columns c;
  readRow(from(place), kind, c);
  room.resize(static_cast<decltype(room.size())>(maxRowSize(c, kind, gapWidth)));
  Char* const begin = reinterpret_cast<Char*>(room.data());
  const auto size = static_cast<std::size_t>(writeRow(begin, c, kind, gapWidth, utf8_) - begin);
  return std::basic_string_view<Char>(begin, size);
}

QStringView CountryRows::text(qsizetype place, qsizetype gapWidth, Room& room) const {
  const std::u16string_view written = write(place, gapWidth, room);
  return QStringView(written.data(), static_cast<qsizetype>(written.size()));
}

std::optional<WaypointFieldViews> CountryRows::waypoint(qsizetype place, Room& room) const {
  return waypointFieldViews(compact(place, room));
}

QStringView CountryRows::item(qsizetype place, Room& room) const { return text(place, kGapWidth, room); }

QStringView CountryRows::compact(qsizetype place, Room& room) const { return text(place, 1, room); }

void CountryRows::askAhead(std::size_t place) const {
  constexpr std::size_t kLineAhead = 8;
  if (place + kLineAhead < static_cast<std::size_t>(size())) prefetchLine(static_cast<qsizetype>(place + kLineAhead));
}

Matches CountryRows::find(QStringView search) const {
  const RowFinder finder(search);
  // A search with no space cannot meet the run of spaces, so a row's compact text gives the answer of its whole text.
  const qsizetype gapWidth = finder.spaceFree() ? 1 : kGapWidth;
  Matches matches;
  Room room;
  std::string asciiRoom;
  for (std::size_t place = 0; place < static_cast<std::size_t>(size()); ++place) {
    askAhead(place);
    const auto index = static_cast<qsizetype>(place);
    if (!(ascii_ ? finder.holds(write(index, gapWidth, asciiRoom)) : finder.holds(text(index, gapWidth, room))))
      continue;
    ++matches.count;
    if (!matches.ranges.isEmpty() && matches.ranges.constLast().second == index - 1)
      matches.ranges.last().second = index;
    else
      matches.ranges.append({index, index});
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

QString objectsLabel(qsizetype count) { return QString::number(count) + QLatin1StringView(" objects"); }

QString resultsLabel(qsizetype count, const QString& total) {
  QString label = QString::number(count);
  label += count > 1 ? QLatin1String(" results of ") : QLatin1String(" result of ");
  label += total;
  label += QLatin1String(" objects.");
  return label;
}

}  // namespace skelvor
