#include "rowsinrange.h"

#include <QHash>

namespace skelvor {

namespace {

// Where the row of `line` lies in `range`; Out too when the line gives no row of `kind`.
Range::Place placeOf(QByteArrayView line, RowKind kind, const Range& range) {
  const auto coordinates = coordinateColumns(line, kind);
  if (!coordinates) return Range::Place::Out;
  const Range::Place place = range.of(coordinates->first, coordinates->second);
  return place != Range::Place::Out && givesRow(line, kind) ? place : Range::Place::Out;
}

}  // namespace

std::function<bool(QByteArrayView)> rangeTest(QStringView kind, const Range& range) {
  return
      [rows = rowKind(kind), &range](QByteArrayView line) { return placeOf(line, rows, range) != Range::Place::Out; };
}

Matches placesInRange(const CountryRows& rows, const Range& range) {
  Matches matches;
  for (qsizetype place = 0; place < rows.size(); ++place) {
    if (place + CountryRows::kReadAhead < rows.size()) rows.willRead(place + CountryRows::kReadAhead);
    const FixRow row = rows.row(place);
    if (range.of(row.latitude, row.longitude) == Range::Place::In) matches.add(place);
  }
  return matches;
}

std::vector<CountryInRange> rowsInRange(const FixLines& lines, QStringView kind, const Range& range) {
  const RowKind rows = rowKind(kind);
  // Where the lines of each code start, in the order the codes first appear: those in range, those unplaced.
  struct Starts {
    QByteArray code;
    std::vector<qsizetype> in;
    std::vector<qsizetype> unplaced;
  };
  std::vector<Starts> found;
  QHash<QByteArray, std::size_t> numbers;
  const char* const base = lines.buffer().constData();
  lines.forEachLine([&](QByteArrayView line) {
    const Range::Place place = placeOf(line, rows, range);
    if (place == Range::Place::Out) return;
    const QByteArray code = detail::countryField(line)->toByteArray();
    const auto number = numbers.constFind(code);
    Starts& starts = number != numbers.cend() ? found[*number] : found.emplace_back(Starts{code, {}, {}});
    if (number == numbers.cend()) numbers.insert(code, found.size() - 1);
    (place == Range::Place::In ? starts.in : starts.unplaced).push_back(line.data() - base);
  });
  std::vector<CountryInRange> countries;
  QString code;
  for (Starts& starts : found) {
    lines.decode(starts.code, code);
    countries.push_back(
        {code, CountryRows(lines, rows, std::move(starts.in)), CountryRows(lines, rows, std::move(starts.unplaced))});
  }
  return countries;
}

}  // namespace skelvor
