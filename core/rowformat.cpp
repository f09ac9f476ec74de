#include "rowformat.h"

#include "fixtext.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skelvor {

namespace {

using Piece = RowPiece::Type;

// A result row is its visible text, 120 spaces, "|", the latitude text, "|", the longitude text. Navaids show
// "IDENT (TYPE) NAME" from columns 2, 0 and 9; waypoints their column 0; airports "IDENT (CODE) TOWN", or
// "IDENT  ---  TOWN" without a code, from columns 0, 3 and 8, and only lines whose column 2 is exactly "A". Spaces
// around a trimmed column go; tabs and every other character stay. The coordinates are copied as they stand.
constexpr RowLayout kNavaidRows = {
    10,
    std::nullopt,
    {{{Piece::Trimmed, 2}, {Piece::Text, 0, " ("}, {Piece::Column, 0}, {Piece::Text, 0, ") "}, {Piece::Trimmed, 9}}},
    5,
    2,
    true,
    4,
    5};
constexpr RowLayout kWaypointRows = {4, std::nullopt, {{{Piece::Column, 0}}}, 1, 0, false, 2, 3};
constexpr RowLayout kAirportRows = {9, 2, {{{Piece::Trimmed, 0}, {Piece::Bracket, 3}, {Piece::Trimmed, 8}}}, 3, 0, true,
                                    4, 5};

// The most columns a kind reads: a navaid line's ten.
constexpr std::size_t kMaxColumns = 10;

// The first `wanted` columns of the line at the start of `line`, which ends at its first CR or LF or with `line`, split
// at each ";", or as many as the line has; the columns after them never leak into the last. Returns how many it found.
// ";" and " " stand for those characters in UTF-8 and in Windows-1252 and occur inside no other character, so a line's
// columns, trimmed or not, decode to the columns of its decoded text.
std::size_t splitColumns(QByteArrayView line, std::size_t wanted, std::array<QByteArrayView, kMaxColumns>& columns) {
  const char* start = line.data();
  const char* const end = start + line.size();
  std::size_t count = 0;
  const char* p = start;
#if defined(__SSE2__)
  // Sixteen bytes are looked at in one step for a ";", a CR or an LF. On 50,000 rows the plain loop does as well;
  // skelvor-export of the 2,850,000 rows of bench/large_country.sh takes 2.3 to 2.5 s with this and the radix sort of
  // the list order's keys, 2.8 to 2.9 s with neither, against a target of 1.5 s (en_US).
  const __m128i semicolon = _mm_set1_epi8(';');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr));
    auto stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ends, _mm_cmpeq_epi8(block, semicolon))));
    for (; stops != 0; stops &= stops - 1) {
      const char* const at = p + std::countr_zero(stops);
      columns[count++] = QByteArrayView(start, at);
      if (*at != ';' || count == wanted) return count;
      start = at + 1;
    }
  }
#endif
  for (; p != end && *p != '\n' && *p != '\r'; ++p) {
    if (*p != ';') continue;
    columns[count++] = QByteArrayView(start, p);
    if (count == wanted) return count;
    start = p + 1;
  }
  columns[count++] = QByteArrayView(start, p);
  return count;
}

QByteArrayView trimmed(QByteArrayView column) {
  while (!column.isEmpty() && column.front() == ' ') column = column.sliced(1);
  while (!column.isEmpty() && column.back() == ' ') column.chop(1);
  return column;
}

QByteArrayView text(std::string_view fixed) {
  return QByteArrayView(fixed.data(), static_cast<qsizetype>(fixed.size()));
}

// Where the last "|" of `column` stands, or -1 when it holds none. Not QByteArrayView::lastIndexOf: Qt 6.8's looks at
// the byte where an empty view starts, the next byte of the line, and may report it as found.
qsizetype lastBar(QByteArrayView column) {
  const auto at = std::string_view(column.data(), static_cast<std::size_t>(column.size())).rfind('|');
  return at == std::string_view::npos ? -1 : static_cast<qsizetype>(at);
}

// The piece of `column` after its last "|".
QByteArrayView afterLastBar(QByteArrayView column) { return column.sliced(lastBar(column) + 1); }

}  // namespace

RowKind rowKind(QStringView kind) {
  if (kind == u"NAV") return RowKind::Navaids;
  if (kind == u"WPT") return RowKind::Waypoints;
  if (kind == u"APT") return RowKind::Airports;
  return RowKind::None;
}

const RowLayout* rowLayout(RowKind kind) {
  switch (kind) {
    case RowKind::Navaids:
      return &kNavaidRows;
    case RowKind::Waypoints:
      return &kWaypointRows;
    case RowKind::Airports:
      return &kAirportRows;
    case RowKind::None:
      break;
  }
  return nullptr;
}

std::optional<std::pair<QByteArrayView, QByteArrayView>> coordinateColumns(QByteArrayView line, RowKind kind) {
  const RowLayout* const layout = rowLayout(kind);
  if (layout == nullptr) return std::nullopt;
  std::array<QByteArrayView, kMaxColumns> columns;
  if (splitColumns(line, layout->longitude + 1, columns) <= layout->longitude) return std::nullopt;
  return std::pair{columns[layout->latitude], columns[layout->longitude]};
}

namespace {

// The column whose first word names the row.
QByteArrayView nameColumnOf(const RowLayout& layout, const std::array<QByteArrayView, kMaxColumns>& columns) {
  return layout.nameTrimmed ? trimmed(columns[layout.name]) : columns[layout.name];
}

// The waypoint of a row whose name column and coordinate columns are these.
WaypointText waypointOf(QByteArrayView nameColumn, QByteArrayView latitude, QByteArrayView longitude) {
  // The waypoint takes the row's name and coordinates as they stand, unless a bar stands in a coordinate: the
  // coordinates are then the last two pieces of the row's text between bars, read from its end. The longitude is what
  // follows the last bar of the longitude column; the latitude is what stands between that bar and the bar before it,
  // which lies in the longitude column or is the row's bar before it, or, when the longitude column holds no bar, what
  // follows the last bar of the latitude column. The name is the first word of the visible text, which ends before its
  // first space: a row that starts with a space has an empty name.
  const qsizetype space = nameColumn.indexOf(' ');
  const qsizetype bar = lastBar(longitude);
  return {space < 0 ? nameColumn : nameColumn.first(space),
          bar < 0 ? afterLastBar(latitude) : afterLastBar(longitude.first(bar)), longitude.sliced(bar + 1)};
}

// Splits the line at the start of `line` into the columns its kind reads; false when it gives no row of that kind.
bool rowColumns(QByteArrayView line, const RowLayout& layout, std::array<QByteArrayView, kMaxColumns>& columns) {
  return splitColumns(line, layout.columns, columns) == layout.columns &&
         (!layout.mustBeA || columns[*layout.mustBeA] == "A");
}

}  // namespace

bool givesRow(QByteArrayView line, RowKind kind) {
  const RowLayout* const layout = rowLayout(kind);
  std::array<QByteArrayView, kMaxColumns> columns;
  return layout != nullptr && rowColumns(line, *layout, columns);
}

std::optional<FixRow> readRow(QByteArrayView line, RowKind kind) {
  const RowLayout* const layout = rowLayout(kind);
  std::array<QByteArrayView, kMaxColumns> columns;
  if (layout == nullptr || !rowColumns(line, *layout, columns)) return std::nullopt;

  FixRow row;
  for (std::size_t i = 0; i < layout->pieces; ++i) {
    const RowPiece& piece = layout->visible[i];
    QByteArrayView& out = row.visible[row.pieces++];
    switch (piece.type) {
      case Piece::Column:
        out = columns[piece.column];
        break;
      case Piece::Trimmed:
        out = trimmed(columns[piece.column]);
        break;
      case Piece::Text:
        out = text(piece.text);
        break;
      case Piece::Bracket:
        if (const QByteArrayView code = trimmed(columns[piece.column]); code.isEmpty()) {
          out = text("  ---  ");
        } else {
          out = text(" (");
          row.visible[row.pieces++] = code;
          row.visible[row.pieces++] = text(") ");
        }
        break;
    }
  }
  row.latitude = columns[layout->latitude];
  row.longitude = columns[layout->longitude];
  return row;
}

std::optional<WaypointText> readWaypoint(QByteArrayView line, RowKind kind) {
  const RowLayout* const layout = rowLayout(kind);
  std::array<QByteArrayView, kMaxColumns> columns;
  if (layout == nullptr || !rowColumns(line, *layout, columns)) return std::nullopt;
  return waypointOf(nameColumnOf(*layout, columns), columns[layout->latitude], columns[layout->longitude]);
}

qsizetype maxRowSize(const FixRow& row, qsizetype gap) {
  qsizetype size = gap + 2 + row.latitude.size() + row.longitude.size();
  for (std::size_t i = 0; i < row.pieces; ++i) size += row.visible[i].size();
  return size;
}

char16_t* writeRow(const FixRow& row, qsizetype gap, bool utf8, char16_t* out) {
  for (std::size_t i = 0; i < row.pieces; ++i) out = detail::decodeInto(row.visible[i], utf8, out);
  out = std::fill_n(out, gap, u' ');
  *out++ = u'|';
  out = detail::decodeInto(row.latitude, utf8, out);
  *out++ = u'|';
  return detail::decodeInto(row.longitude, utf8, out);
}

}  // namespace skelvor
