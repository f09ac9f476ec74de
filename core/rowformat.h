#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace skelvor {

/// The kinds of fix a file holds, as the file list's Tag names them ("NAV", "WPT", "APT"); None for any other Tag.
enum class RowKind { None, Navaids, Waypoints, Airports };
RowKind rowKind(QStringView kind);

/// One piece of a row's visible text: a column of the line, trimmed of spaces or not; a fixed text; or the bracket
/// of an airport row, " (" column ") " when the trimmed column holds anything, else "  ---  ".
struct RowPiece {
  enum class Type { Column, Trimmed, Text, Bracket };
  Type type;
  std::size_t column = 0;
  std::string_view text = {};
};

/// What the rows of one kind read of a fix line: the columns a line needs, the column that must be exactly "A"
/// (airports), the pieces of the visible text, the column whose first word names the waypoint and those of the
/// coordinates.
struct RowLayout {
  std::size_t columns;
  std::optional<std::size_t> mustBeA;
  std::array<RowPiece, 5> visible;
  std::size_t pieces;
  std::size_t name;
  bool nameTrimmed;
  std::size_t latitude;
  std::size_t longitude;
};

/// The layout of `kind`'s rows; nothing for RowKind::None, whose lines give no row.
const RowLayout* rowLayout(RowKind kind);

/// A waypoint's name and coordinates, as pieces of a fix line's bytes.
struct WaypointText {
  QByteArrayView name;
  QByteArrayView latitude;
  QByteArrayView longitude;
};

/// The row a fix line gives, as pieces of the line's bytes (in the file's encoding) and fixed texts: the visible
/// text's pieces in order and the coordinate texts the row shows behind its bars.
struct FixRow {
  std::array<QByteArrayView, 5> visible;
  std::size_t pieces = 0;
  QByteArrayView latitude;
  QByteArrayView longitude;
};

/// The row of the fix line at the start of `line`, which ends at its first CR or LF or with `line`, for `kind`, or
/// nothing when the line gives none:
/// the kind is unknown, a column the kind uses is missing, or an airport line's column 2 is not exactly "A".
std::optional<FixRow> readRow(QByteArrayView line, RowKind kind);
/// The waypoint the GPX file writes for the row that readRow gives for the line, or nothing. It takes the row's name
/// (the first word of its visible text) and coordinates, but a "|" in a coordinate shifts them as reading the row's
/// whole text from its end would.
std::optional<WaypointText> readWaypoint(QByteArrayView line, RowKind kind);
/// Whether readRow gives a row for the line, found without reading the row.
bool givesRow(QByteArrayView line, RowKind kind);

/// The latitude and longitude columns of the line at the start of `line` for `kind`, untrimmed, or nothing when the
/// line lacks them; the rest of the line is not looked at, so that a range can pass over lines far away before their
/// row is read.
std::optional<std::pair<QByteArrayView, QByteArrayView>> coordinateColumns(QByteArrayView line, RowKind kind);

/// The run of spaces between a row's visible text and its coordinates, which puts them out of the list's sight.
inline constexpr qsizetype kRowGap = 120;

/// The most characters `row` takes written with a run of `gap` spaces: every byte decodes to one 16-bit character at
/// most.
qsizetype maxRowSize(const FixRow& row, qsizetype gap);

/// Writes the text of `row` at `out`, decoded as UTF-8 (`utf8`) or Windows-1252: its visible text, `gap` spaces, "|",
/// its latitude, "|", its longitude. `out` has room for maxRowSize; returns the end of what was written.
char16_t* writeRow(const FixRow& row, qsizetype gap, bool utf8, char16_t* out);

}  // namespace skelvor
