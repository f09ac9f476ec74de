#include "resultrows.h"

#include "fixfile.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skelvor {

namespace {

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
#if defined(__SSE2__)
  // Eight characters are looked at in one step, which finds the few ";" of a line quickly.
  const __m128i semicolon = _mm_set1_epi16(';');
  for (; end - p >= 8; p += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Two bits a character: the lower one of each pair says it.
    auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(block, semicolon))) & 0x5555u;
    for (; found != 0; found &= found - 1)
      if (!endColumn(p + std::countr_zero(found) / 2)) return count;
  }
#endif
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
  qsizetype visibleSize() const {
    qsizetype size = 0;
    for (std::size_t i = 0; i < visibleCount; ++i) size += visible[i].size();
    return size;
  }
  // The size of the row with a run of `gapWidth` spaces.
  qsizetype size(qsizetype gapWidth) const { return visibleSize() + gapWidth + 2 + latitude.size() + longitude.size(); }
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

QString makeRow(const RowPieces& pieces) {
  // The pieces are copied straight into a row of the final size, which saves a call and a size check per piece.
  constexpr auto kWidth = static_cast<qsizetype>(kGapWidth);
  QString row(pieces.size(kWidth), Qt::Uninitialized);
  writeRow(reinterpret_cast<char16_t*>(row.data()), pieces, kWidth);
  return row;
}

enum class RowKind { None, Navaids, Waypoints, Airports };

RowKind rowKind(QStringView kind) {
  if (kind == QLatin1StringView(kNavaids)) return RowKind::Navaids;
  if (kind == QLatin1StringView(kWaypoints)) return RowKind::Waypoints;
  if (kind == QLatin1StringView(kAirports)) return RowKind::Airports;
  return RowKind::None;
}

// The pieces of the row of one fix line of the given kind, as resultRow describes them.
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

// Calls `visit` with the pieces of the row of every line of `lines` whose country code is `code`, in file order. The
// code is compared in the file's own bytes, so only the lines of the chosen country are decoded, into one reused
// string; the pieces point into it until the next call.
template <typename Visit>
void forEachRow(const FixLines& lines, QStringView code, QStringView kind, Visit visit) {
  const std::optional<QByteArray> wanted = lines.encode(code);
  const RowKind rowsKind = rowKind(kind);
  if (!wanted || rowsKind == RowKind::None) return;
  const QByteArrayView wantedBytes(*wanted);
  QString line;
  lines.forEachLine([&](QByteArrayView bytes) {
    const std::optional<QByteArrayView> field = detail::countryField(bytes);
    if (!field || field->size() != wantedBytes.size() ||
        (!wantedBytes.isEmpty() &&
         std::memcmp(field->data(), wantedBytes.data(), static_cast<std::size_t>(wantedBytes.size())) != 0))
      return;
    lines.decode(bytes, line);
    if (const std::optional<RowPieces> pieces = rowPieces(line, rowsKind)) visit(*pieces);
  });
}

}  // namespace

std::optional<QString> resultRow(QStringView line, QStringView kind) {
  const std::optional<RowPieces> pieces = rowPieces(line, rowKind(kind));
  if (!pieces) return std::nullopt;
  return makeRow(*pieces);
}

QStringList resultRows(const QStringList& lines, QStringView code, QStringView kind) {
  QStringList rows;
  for (const QString& line : lines) {
    if (detail::countryField(line) != code) continue;
    if (std::optional<QString> row = resultRow(line, kind)) rows.append(std::move(*row));
  }
  return rows;
}

QStringList resultRows(const FixLines& lines, QStringView code, QStringView kind) {
  QStringList rows;
  forEachRow(lines, code, kind, [&rows](const RowPieces& pieces) { rows.append(makeRow(pieces)); });
  return rows;
}

QStringView CompactRows::whole(qsizetype index, QString& room) const {
  const QStringView row = compact(index);
  const qsizetype gap = gaps_[static_cast<std::size_t>(index)];
  room.resize(row.size() - 1 + static_cast<qsizetype>(kGapWidth));
  char16_t* out = put(reinterpret_cast<char16_t*>(room.data()), row.first(gap));
  out = put(out, QStringView(kGap.data(), kGap.size()));
  put(out, row.sliced(gap + 1));
  return room;
}

CompactRows compactRows(const FixLines& lines, QStringView code, QStringView kind) {
  CompactRows rows;
  // A row is at most one character longer than its line (what it adds around the texts is at most one more than the
  // separators it drops), and a line has no more characters than bytes: room for that is made once, and what is not
  // written is never touched.
  const qsizetype room = lines.byteCount() + lines.size();
  rows.text_ = LargeBlock(static_cast<std::size_t>(room) * sizeof(char16_t));
  rows.ends_.reserve(static_cast<std::size_t>(lines.size()));
  rows.gaps_.reserve(static_cast<std::size_t>(lines.size()));
  char16_t* const text = static_cast<char16_t*>(rows.text_.data());
  char16_t* out = text;
  forEachRow(lines, code, kind, [&](const RowPieces& pieces) {
    out = writeRow(out, pieces, 1);
    rows.ends_.push_back(out - text);
    rows.gaps_.push_back(pieces.visibleSize());
  });
  return rows;
}

QString objectsLabel(qsizetype count) { return QString::number(count) + QLatin1StringView(" objects"); }

qsizetype typeAheadMatch(const QStringList& items, QStringView typed) {
  const QString wanted = typed.toString().toUpper();
  for (qsizetype i = 0; i < items.size(); ++i) {
    const QStringView item = items[i];
    if (item.first(qMin(typed.size(), item.size())).toString().toUpper() == wanted) return i;
  }
  return -1;
}

}  // namespace skelvor
