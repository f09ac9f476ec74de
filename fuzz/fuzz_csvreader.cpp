// Fuzz target: arbitrary bytes as comma-separated values, through the record reader and the readers of the OurAirports
// airports and navaids files. Whatever the bytes, the result is bounded by the input: no more records or skipped rows
// than lines, and no more text in the fields than the input holds.
#include "csvreader.h"
#include "fixfile.h"
#include "fuzzcheck.h"
#include "ourairports.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using skelvor::fuzz::check;

using skelvor::fuzz::sizes;

// The skipped rows: at most one a line, in the order of their lines, each detail a short message of ours.
void checkSkipped(const QList<skelvor::Skipped>& skipped, qsizetype lines) {
  check(skipped.size() <= lines);
  skelvor::fuzz::checkLineOrder(skipped, 0, lines);
  for (const skelvor::Skipped& row : skipped) check(row.detail.size() <= 80);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QString text = decodeFixText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const qsizetype lines = fuzz::lineCount(text);

  // Records begin on ever later lines; every character of the input lands in at most one field.
  CsvReader reader(text);
  qsizetype records = 0;
  qsizetype fieldText = 0;
  qsizetype fields = 0;
  qsizetype previousLine = 0;
  while (reader.next()) {
    ++records;
    check(reader.line() > previousLine && reader.line() <= lines);
    previousLine = reader.line();
    check(reader.fieldCount() >= 1);
    fields += reader.fieldCount();
    for (qsizetype i = 0; i < reader.fieldCount(); ++i) fieldText += reader.field(i).size();
    check(reader.field(reader.fieldCount()).isEmpty() && reader.field(-1).isEmpty());
  }
  check(records <= lines && fieldText <= text.size() && fields <= text.size() + records);
  check(!reader.next());

  const AirportsRead airports = readOurAirportsAirports(text);
  check(airports.ok() || (airports.records.isEmpty() && airports.skipped.isEmpty()));
  check(airports.records.size() + airports.skipped.size() < lines);
  checkSkipped(airports.skipped, lines);
  qsizetype produced = 0;
  for (const OurAirportsAirport& a : airports.records) {
    check(a.line > 1 && a.line <= lines);
    produced += sizes({&a.ident, &a.type, &a.name, &a.latitude, &a.longitude, &a.elevation, &a.isoCountry, &a.isoRegion,
                       &a.municipality, &a.icaoCode, &a.iataCode, &a.gpsCode});
  }
  check(produced <= text.size());

  const NavaidsRead navaids = readOurAirportsNavaids(text);
  check(navaids.ok() || (navaids.records.isEmpty() && navaids.skipped.isEmpty()));
  check(navaids.records.size() + navaids.skipped.size() < lines);
  checkSkipped(navaids.skipped, lines);
  produced = 0;
  for (const OurAirportsNavaid& n : navaids.records) {
    check(n.line > 1 && n.line <= lines);
    produced += sizes({&n.ident, &n.name, &n.type, &n.frequencyKhz, &n.latitude, &n.longitude, &n.elevation,
                       &n.isoCountry, &n.magneticVariation, &n.usageType, &n.power, &n.associatedAirport});
  }
  check(produced <= text.size());
  return 0;
}
