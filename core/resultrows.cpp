#include "resultrows.h"

#include "fixfile.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <initializer_list>

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
using Columns = std::array<QStringView, kMaxColumns>;

// Splits `line` at every ";" into its leading columns, as many as `columns` holds, and returns how many it filled.
// A column that is not the line's last ends at its ";", so columns beyond the array never leak into the last one.
std::size_t splitColumns(QStringView line, Columns& columns) {
  // Columns are a few characters long: a plain scan beats a general search that first sets itself up.
  std::size_t count = 0;
  const QChar* start = line.data();
  const QChar* const end = start + line.size();
  while (count < columns.size()) {
    const QChar* stop = start;
    while (stop != end && *stop != u';') ++stop;
    columns[count++] = QStringView(start, stop);
    if (stop == end) break;
    start = stop + 1;
  }
  return count;
}

// Removes leading and trailing space characters, and no other blanks.
QStringView trimSpaces(QStringView text) {
  while (text.startsWith(u' ')) text = text.sliced(1);
  while (text.endsWith(u' ')) text.chop(1);
  return text;
}

QString makeRow(std::initializer_list<QStringView> visible, QStringView latitude, QStringView longitude) {
  qsizetype size = static_cast<qsizetype>(kGapWidth) + 2 + latitude.size() + longitude.size();
  for (const QStringView piece : visible) size += piece.size();
  // The pieces are copied straight into a row of the final size, which saves a call and a size check per piece.
  QString row(size, Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(row.data());
  const auto put = [&out](QStringView piece) {
    if (piece.isEmpty()) return;  // an empty view may point nowhere
    std::memcpy(out, piece.utf16(), static_cast<std::size_t>(piece.size()) * sizeof(char16_t));
    out += piece.size();
  };
  for (const QStringView piece : visible) put(piece);
  put(QStringView(kGap.data(), kGap.size()));
  put(u"|");
  put(latitude);
  put(u"|");
  put(longitude);
  return row;
}

}  // namespace

std::optional<QString> resultRow(QStringView line, QStringView kind) {
  Columns c;
  if (kind == QLatin1StringView(kNavaids)) {
    if (splitColumns(line, c) < 10) return std::nullopt;
    return makeRow({trimSpaces(c[2]), u" (", c[0], u") ", trimSpaces(c[9])}, c[4], c[5]);
  }
  if (kind == QLatin1StringView(kWaypoints)) {
    if (splitColumns(line, c) < 4) return std::nullopt;
    return makeRow({c[0]}, c[2], c[3]);
  }
  if (kind == QLatin1StringView(kAirports)) {
    if (splitColumns(line, c) < 9 || c[2] != u"A") return std::nullopt;
    const QStringView iata = trimSpaces(c[3]);
    if (iata.isEmpty()) return makeRow({trimSpaces(c[0]), u"  ---  ", trimSpaces(c[8])}, c[4], c[5]);
    return makeRow({trimSpaces(c[0]), u" (", iata, u") ", trimSpaces(c[8])}, c[4], c[5]);
  }
  return std::nullopt;
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
  // The code is compared in the file's own bytes, so only the lines of the chosen country are decoded, into one
  // reused string.
  QStringList rows;
  const std::optional<QByteArray> wanted = lines.encode(code);
  if (!wanted) return rows;
  const QByteArrayView wantedBytes(*wanted);
  QString line;
  lines.forEachLine([&](QByteArrayView bytes) {
    const std::optional<QByteArrayView> field = detail::countryField(bytes);
    if (!field || field->size() != wantedBytes.size() ||
        (!wantedBytes.isEmpty() &&
         std::memcmp(field->data(), wantedBytes.data(), static_cast<std::size_t>(wantedBytes.size())) != 0))
      return;
    lines.decode(bytes, line);
    if (std::optional<QString> row = resultRow(line, kind)) rows.append(std::move(*row));
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
