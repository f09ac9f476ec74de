#pragma once

#include "skipped.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace skelvor {

/// One row of OurAirports' airports.csv, the fields the importer uses, as the source writes them.
struct OurAirportsAirport {
  qsizetype line = 0;
  QString ident;
  QString type;
  QString name;
  QString latitude;
  QString longitude;
  QString elevation;
  QString isoCountry;
  QString isoRegion;
  QString municipality;
  QString icaoCode;
  QString iataCode;
  QString gpsCode;
};

/// One row of OurAirports' navaids.csv, the fields the importer uses, as the source writes them.
struct OurAirportsNavaid {
  qsizetype line = 0;
  QString ident;
  QString name;
  QString type;
  QString frequencyKhz;
  QString latitude;
  QString longitude;
  QString elevation;
  QString isoCountry;
  QString magneticVariation;
  QString usageType;
  QString power;
  QString associatedAirport;
};

/// What a reader of an OurAirports file gives: the rows it could read and those it passed over, or, when the file as a
/// whole is refused, the reason and nothing else.
template <typename Record>
struct OurAirportsRead {
  QString error;
  QList<Record> records;
  QList<Skipped> skipped;
  bool ok() const { return error.isEmpty(); }
};

using AirportsRead = OurAirportsRead<OurAirportsAirport>;
using NavaidsRead = OurAirportsRead<OurAirportsNavaid>;

/// Reads the text of an OurAirports airports.csv. Columns are found by their names in the header row; the text is
/// refused when the header lacks one that the importer needs. A row whose quoting is broken, whose number of fields
/// differs from the header's, or whose coordinates are no decimal numbers in range is passed over as malformed.
AirportsRead readOurAirportsAirports(QStringView text);

/// Reads the airports.csv file at `path`, as `readOurAirportsAirports` reads its text.
AirportsRead readOurAirportsAirportsFile(const QString& path);

/// Reads the text of an OurAirports navaids.csv, by the same rules as the airports.
NavaidsRead readOurAirportsNavaids(QStringView text);

/// Reads the navaids.csv file at `path`, as `readOurAirportsNavaids` reads its text.
NavaidsRead readOurAirportsNavaidsFile(const QString& path);

}  // namespace skelvor
