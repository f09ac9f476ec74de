#include "ourairports.h"

#include "csvreader.h"
#include "textinput.h"

#include <array>

namespace skelvor {

namespace {

// A column that the importer reads: where the record keeps it, and whether a file without it is refused.
template <typename Record>
struct Column {
  const char* name;
  QString Record::*member;
  bool needed;
};

constexpr std::array<Column<OurAirportsAirport>, 12> kAirportColumns = {{
    {"ident", &OurAirportsAirport::ident, true},
    {"type", &OurAirportsAirport::type, true},
    {"name", &OurAirportsAirport::name, true},
    {"latitude_deg", &OurAirportsAirport::latitude, true},
    {"longitude_deg", &OurAirportsAirport::longitude, true},
    {"elevation_ft", &OurAirportsAirport::elevation, false},
    {"iso_country", &OurAirportsAirport::isoCountry, true},
    {"iso_region", &OurAirportsAirport::isoRegion, true},
    {"municipality", &OurAirportsAirport::municipality, false},
    {"icao_code", &OurAirportsAirport::icaoCode, false},
    {"iata_code", &OurAirportsAirport::iataCode, false},
    {"gps_code", &OurAirportsAirport::gpsCode, false},
}};

constexpr std::array<Column<OurAirportsNavaid>, 12> kNavaidColumns = {{
    {"ident", &OurAirportsNavaid::ident, true},
    {"name", &OurAirportsNavaid::name, true},
    {"type", &OurAirportsNavaid::type, true},
    {"frequency_khz", &OurAirportsNavaid::frequencyKhz, true},
    {"latitude_deg", &OurAirportsNavaid::latitude, true},
    {"longitude_deg", &OurAirportsNavaid::longitude, true},
    {"elevation_ft", &OurAirportsNavaid::elevation, false},
    {"iso_country", &OurAirportsNavaid::isoCountry, true},
    {"magnetic_variation_deg", &OurAirportsNavaid::magneticVariation, false},
    {"usageType", &OurAirportsNavaid::usageType, false},
    {"power", &OurAirportsNavaid::power, false},
    {"associated_airport", &OurAirportsNavaid::associatedAirport, false},
}};

// Reads the header row, finds each column by name, then reads every later row into a record. A column that the file
// lacks and that is not needed stays empty in every record.
template <typename Record, std::size_t N>
OurAirportsRead<Record> readTable(QStringView text, const std::array<Column<Record>, N>& columns) {
  OurAirportsRead<Record> result;
  CsvReader csv(text);
  if (!csv.next()) {
    result.error = QStringLiteral("the file is empty: it has no header row");
    return result;
  }
  const qsizetype headerFields = csv.fieldCount();
  std::array<qsizetype, N> index{};
  for (std::size_t c = 0; c < N; ++c) {
    index[c] = -1;
    for (qsizetype f = 0; f < headerFields; ++f)
      if (csv.field(f) == QLatin1StringView(columns[c].name)) {
        index[c] = f;
        break;
      }
    if (index[c] < 0 && columns[c].needed) {
      result.error = QStringLiteral("the header row has no column \"%1\"").arg(QLatin1StringView(columns[c].name));
      return result;
    }
  }
  while (csv.next()) {
    if (!csv.problem().isEmpty()) {
      result.skipped.append({csv.line(), SkipReason::Malformed, csv.problem()});
      continue;
    }
    if (csv.fieldCount() != headerFields) {
      result.skipped.append(
          {csv.line(), SkipReason::Malformed,
           QStringLiteral("%1 fields where the header has %2").arg(csv.fieldCount()).arg(headerFields)});
      continue;
    }
    Record record;
    record.line = csv.line();
    for (std::size_t c = 0; c < N; ++c)
      if (index[c] >= 0) record.*(columns[c].member) = csv.field(index[c]).toString();
    if (!isCoordinate(record.latitude, 90.0) || !isCoordinate(record.longitude, 180.0)) {
      result.skipped.append({csv.line(), SkipReason::Malformed, QStringLiteral("coordinates that are no numbers")});
      continue;
    }
    result.records.append(std::move(record));
  }
  return result;
}

template <typename Record, std::size_t N>
OurAirportsRead<Record> readTableFile(const QString& path, const std::array<Column<Record>, N>& columns) {
  const TextInput input = readTextInput(path);
  if (!input.ok()) return {input.error, {}, {}};
  return readTable(input.text, columns);
}

}  // namespace

AirportsRead readOurAirportsAirports(QStringView text) { return readTable(text, kAirportColumns); }

AirportsRead readOurAirportsAirportsFile(const QString& path) { return readTableFile(path, kAirportColumns); }

NavaidsRead readOurAirportsNavaids(QStringView text) { return readTable(text, kNavaidColumns); }

NavaidsRead readOurAirportsNavaidsFile(const QString& path) { return readTableFile(path, kNavaidColumns); }

}  // namespace skelvor
