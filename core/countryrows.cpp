#include "countryrows.h"

#include "prefetch.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace skelvor {

namespace {

// The upper case of the characters below U+0800 that have a one-character upper case.
using UpperTable = std::array<char16_t, 0x800>;

constexpr std::size_t kGapWidth = 120;

// The run of spaces that pushes the coordinates out of the list's visible width.
constexpr std::array<char16_t, kGapWidth> kGap = [] {
  std::array<char16_t, kGapWidth> gap{};
  gap.fill(u' ');
  return gap;
}();

// The most columns any kind reads: a navaid uses columns 0 to 9.
constexpr std::size_t kMaxColumns = 10;

// The leading columns of a line, where each starts and stops; only those that splitColumns found are set.
struct Columns {
  std::array<const char16_t*, kMaxColumns> starts;
  std::array<const char16_t*, kMaxColumns> stops;
  QStringView operator[](std::size_t i) const { return QStringView(starts[i], stops[i]); }
};

// Splits `line` at every ";" into its leading columns, at most `wanted` of them, and returns how many it found. A
// column that is not the line's last ends at its ";", so the columns after the wanted ones never leak into the last.
std::size_t splitColumns(QStringView line, std::size_t wanted, Columns& columns) {
  const char16_t* p = line.utf16();
  const char16_t* const end = p + line.size();
  const char16_t* start = p;
  std::size_t count = 0;
  // Ends the current column at the ";" at `at`; false once the wanted columns are found.
  const auto endColumn = [&](const char16_t* at) {
    columns.starts[count] = start;
    columns.stops[count++] = at;
    start = at + 1;
    return count < wanted;
  };
  for (; p != end; ++p)
    if (*p == u';' && !endColumn(p)) return count;
  columns.starts[count] = start;
  columns.stops[count++] = end;
  return count;
}

// Removes leading and trailing space characters, and no other blanks.
QStringView trimSpaces(QStringView text) {
  while (text.startsWith(u' ')) text = text.sliced(1);
  while (text.endsWith(u' ')) text.chop(1);
  return text;
}

// The pieces of a row: the visible texts, one after the other, then the latitude and the longitude.
struct RowPieces {
  std::array<QStringView, 5> visible;
  std::size_t visibleCount = 0;
  QStringView latitude;
  QStringView longitude;

  RowPieces(std::initializer_list<QStringView> texts, QStringView lat, QStringView lon)
      : latitude(lat), longitude(lon) {
    for (const QStringView text : texts) visible[visibleCount++] = text;
  }
  // The size of the row with a run of `gapWidth` spaces.
  qsizetype size(qsizetype gapWidth) const {
    qsizetype size = gapWidth + 2 + latitude.size() + longitude.size();
    for (std::size_t i = 0; i < visibleCount; ++i) size += visible[i].size();
    return size;
  }
};

char16_t* put(char16_t* out, QStringView piece) {
  if (piece.isEmpty()) return out;  // an empty view may point nowhere
  std::memcpy(out, piece.utf16(), static_cast<std::size_t>(piece.size()) * sizeof(char16_t));
  return out + piece.size();
}

// Writes the row of `pieces` with a run of `gapWidth` spaces at `out`, which has room for it; returns its end.
char16_t* writeRow(char16_t* out, const RowPieces& pieces, qsizetype gapWidth) {
  for (std::size_t i = 0; i < pieces.visibleCount; ++i) out = put(out, pieces.visible[i]);
  out = put(out, QStringView(kGap.data(), gapWidth));
  out = put(out, u"|");
  out = put(out, pieces.latitude);
  out = put(out, u"|");
  return put(out, pieces.longitude);
}

enum class RowKind { None, Navaids, Waypoints, Airports };

RowKind rowKind(QStringView kind) {
  if (kind == QLatin1StringView(kNavaids)) return RowKind::Navaids;
  if (kind == QLatin1StringView(kWaypoints)) return RowKind::Waypoints;
  if (kind == QLatin1StringView(kAirports)) return RowKind::Airports;
  return RowKind::None;
}

// The pieces of the row of one fix line of the given kind, as CountryRows describes them.
std::optional<RowPieces> rowPieces(QStringView line, RowKind kind) {
  Columns c;
  if (kind == RowKind::Navaids) {
    if (splitColumns(line, 10, c) < 10) return std::nullopt;
    return RowPieces({trimSpaces(c[2]), u" (", c[0], u") ", trimSpaces(c[9])}, c[4], c[5]);
  }
  if (kind == RowKind::Waypoints) {
    if (splitColumns(line, 4, c) < 4) return std::nullopt;
    return RowPieces({c[0]}, c[2], c[3]);
  }
  if (kind == RowKind::Airports) {
    if (splitColumns(line, 9, c) < 9 || c[2] != u"A") return std::nullopt;
    const QStringView iata = trimSpaces(c[3]);
    if (iata.isEmpty()) return RowPieces({trimSpaces(c[0]), u"  ---  ", trimSpaces(c[8])}, c[4], c[5]);
    return RowPieces({trimSpaces(c[0]), u" (", iata, u") ", trimSpaces(c[8])}, c[4], c[5]);
  }
  return std::nullopt;
}

// Calls `visit` with the bytes of every line of `lines` whose country code is `code` and that gives a row, in file
// order. The code is compared in the file's own bytes, so only the lines of the chosen country are decoded, into one
// reused string.
template <typename Visit>
void forEachRow(const FixLines& lines, QStringView code, QStringView kind, Visit visit) {
  const std::optional<QByteArray> wanted = lines.encode(code);
  const RowKind rowsKind = rowKind(kind);
  if (!wanted || rowsKind == RowKind::None) return;
  const QByteArrayView wantedBytes(*wanted);
  QString line;
  lines.forEachLine([&](QByteArrayView bytes) {
    const std::optional<QByteArrayView> field = detail::countryField(bytes);
    if (!field || !detail::sameBytes(*field, wantedBytes)) return;
    lines.decode(bytes, line);
    if (rowPieces(line, rowsKind)) visit(bytes);
  });
}

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

// Find's test of one row: whether its whole text contains the search text, letter case ignored. Upper-casing every
// row with QString::toUpper would cost a new string and a slow case lookup per character, so rows whose characters all
// have a one-character upper case in a small table (fix files nearly always hold such rows only) are compared in
// place, each character upper-cased as it is compared. Other rows are upper-cased whole.
class RowFinder {
 public:
  explicit RowFinder(QStringView search) : upper_(upperTable()), needle_(search.toString().toUpper()) {}
  bool holds(QStringView row) const {
    return upperCasedByTable(row, upper_) ? containsUpperCased(row, needle_, upper_)
                                          : row.toString().toUpper().contains(needle_);
  }
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
  forEachRow(lines, code, kind, [&](QByteArrayView line) {
    starts_.push_back(line.data() - base);
    for (const char c : line) bits |= c;
  });
  ascii_ = (static_cast<unsigned char>(bits) & 0x80) == 0;
}

void CountryRows::sort(const ListOrder& order) {
  // Where the rows start is put in list order, so that reading the rows in list order reads it straight through.
  const std::vector<qsizetype> places = order.sortedIndices(*this);
  std::vector<qsizetype> starts;
  starts.reserve(starts_.size());
  for (const qsizetype place : places) starts.push_back(starts_[static_cast<std::size_t>(place)]);
  starts_ = std::move(starts);
}

qsizetype CountryRows::count(const FixLines& lines, QStringView code, QStringView kind) {
  qsizetype rows = 0;
  forEachRow(lines, code, kind, [&rows](QByteArrayView) { ++rows; });
  return rows;
}

QByteArrayView CountryRows::lineBytes(qsizetype place) const {
  // A line ends at the first CR or LF after its start, or with the bytes.
  const char* const start = bytes_.constData() + starts_[static_cast<std::size_t>(place)];
  const char* const end = bytes_.constData() + bytes_.size();
  const char* stop = start;
  while (stop != end && *stop != '\n' && *stop != '\r') ++stop;
  return QByteArrayView(start, stop - start);
}

QStringView CountryRows::line(qsizetype place, Room& room) const {
  FixLines::decode(lineBytes(place), utf8_, room.line);
  return room.line;
}

std::optional<WaypointBytes> CountryRows::asciiWaypoint(qsizetype place) const {
  // The columns that hold the name, the latitude and the longitude, and whether the name is trimmed, by kind: as
  // rowPieces takes them. The line is read only as far as its longitude, and a byte that is not plain sends the row
  // the long way, which also takes a "|" in the coordinates as a row's text does.
  static constexpr auto kPlain = [] {
    std::array<bool, 256> plain{};
    for (std::size_t b = 0x20; b < 0x80; ++b)
      plain[b] = std::string_view("\"&<>|;").find(static_cast<char>(b)) == std::string_view::npos;
    return plain;
  }();
  const auto kind = static_cast<RowKind>(kind_);
  const std::size_t nameColumn = kind == RowKind::Navaids ? 2 : 0;
  const std::size_t longitudeColumn = kind == RowKind::Waypoints ? 3 : 5;
  std::array<QByteArrayView, 6> columns;
  std::size_t count = 0;
  const char* const end = bytes_.constData() + bytes_.size();
  const char* start = bytes_.constData() + starts_[static_cast<std::size_t>(place)];
  for (const char* p = start;; ++p) {
    if (p != end && kPlain[static_cast<unsigned char>(*p)]) continue;
    const bool lineEnd = p == end || *p == '\n' || *p == '\r';
    if (!lineEnd && *p != ';') return std::nullopt;
    columns[count] = QByteArrayView(start, p);
    if (count++ == longitudeColumn) break;
    if (lineEnd) return std::nullopt;
    start = p + 1;
  }
  QByteArrayView name = columns[nameColumn];
  if (kind != RowKind::Waypoints) {
    while (name.startsWith(' ')) name = name.sliced(1);
    while (name.endsWith(' ')) name.chop(1);
  }
  if (const qsizetype space = name.indexOf(' '); space >= 0) name = name.first(space);
  return WaypointBytes{name, columns[longitudeColumn - 1], columns[longitudeColumn]};
}

QStringView CountryRows::text(qsizetype place, qsizetype gapWidth, Room& room) const {
  // The line gave a row when the rows were made, so it gives its pieces now.
  const RowPieces pieces = *rowPieces(line(place, room), static_cast<RowKind>(kind_));
  room.row.resize(pieces.size(gapWidth));
  writeRow(reinterpret_cast<char16_t*>(room.row.data()), pieces, gapWidth);
  return room.row;
}

std::optional<WaypointFieldViews> CountryRows::waypoint(qsizetype place, Room& room) const {
  const RowPieces pieces = *rowPieces(line(place, room), static_cast<RowKind>(kind_));
  // A row's coordinates are its last two "|" pieces and its name is what its text holds before the first space: with
  // no "|" in the coordinates, those are the row's own coordinates and its first visible piece up to a space, since
  // every later piece, and the run of spaces, starts with a space. The row is written out only otherwise.
  if (!pieces.latitude.contains(u'|') && !pieces.longitude.contains(u'|')) {
    const QStringView first = pieces.visible[0];
    const qsizetype space = first.indexOf(u' ');
    return WaypointFieldViews{space < 0 ? first : first.first(space), pieces.latitude, pieces.longitude};
  }
  return waypointFieldViews(text(place, 1, room));
}

QStringView CountryRows::item(qsizetype place, Room& room) const {
  return text(place, static_cast<qsizetype>(kGapWidth), room);
}

QStringView CountryRows::compact(qsizetype place, Room& room) const { return text(place, 1, room); }

void CountryRows::askAhead(std::size_t place) const {
  constexpr std::size_t kLineAhead = 8;
  if (place + kLineAhead < static_cast<std::size_t>(size())) prefetchLine(static_cast<qsizetype>(place + kLineAhead));
}

Matches CountryRows::find(QStringView search) const {
  const RowFinder finder(search);
  const bool compactServes = finder.spaceFree();
  Matches matches;
  Room room;
  for (std::size_t place = 0; place < static_cast<std::size_t>(size()); ++place) {
    askAhead(place);
    const auto index = static_cast<qsizetype>(place);
    if (!finder.holds(compactServes ? compact(index, room) : item(index, room))) continue;
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
