#pragma once

#include "nearestpoint.h"
#include "ourairports.h"
#include "skipped.h"
#include "xplanefixes.h"
#include "xplanenavaids.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace skelvor {

/// The lines of a fix file, each without its line end, and the records passed over on the way.
struct ConvertedLines {
  QStringList lines;
  QList<Skipped> skipped;
};

/// The airports written to an airports file, as navaids look for their country code among them.
struct WrittenAirports {
  QHash<QString, QString> codeByIdent;        ///< by the airport's OurAirports ident
  QHash<QString, NearestPoint> byIsoCountry;  ///< tags index `codes`
  NearestPoint anywhere;
  QStringList codes;  ///< the country code of each written airport, in the order written
};

/// An airports file's lines and what its navaids need of it.
struct AirportLines : ConvertedLines {
  WrittenAirports written;
};

/// `text` as a field of a fix file: ";" becomes ",", line ends and other control characters become spaces, and
/// leading and trailing spaces are removed.
QString fixField(QStringView text);

/// The bytes of a fix file: every line followed by CR LF, in UTF-8 without a byte-order mark.
QByteArray fixFileBytes(const QStringList& lines);

/// A frequency in kHz written as MHz with two decimals, rounded to the nearest 10 kHz (116800 gives 116.80); empty
/// when `khz` is no whole number.
QString megahertzFromKhz(QStringView khz);

/// The airports file lines of OurAirports airports: land airfields (large, medium and small airports) with a
/// four-letter ICAO identifier, the first of them when several give the same identifier. Columns: identifier, country
/// code, "A", IATA code, latitude, longitude, elevation, type, name, municipality.
AirportLines airportLines(const QList<OurAirportsAirport>& airports);

/// The navaids file lines of OurAirports navaids, with the country code of the associated airport when it was written,
/// else of the nearest written airport of the same country, else of the nearest written airport. Columns: type,
/// country code, identifier, frequency, latitude, longitude, elevation, magnetic variation, usage and power, name.
ConvertedLines navaidLines(const QList<OurAirportsNavaid>& navaids, const WrittenAirports& airports);

/// The waypoints file lines of X-Plane fixes: the en-route ones, and the terminal ones too when `terminal` is set;
/// region ZZ (user-defined) is left out. Columns: identifier, region code, latitude, longitude.
ConvertedLines waypointLines(const QList<XPlaneFix>& fixes, bool terminal);

/// The navaids file lines of X-Plane navaids, in the columns of the OurAirports navaids; the type is NDB, VOR or DME,
/// the frequency in kHz for an NDB and in MHz for the others.
ConvertedLines navaidLines(const QList<XPlaneNavaid>& navaids);

}  // namespace skelvor
