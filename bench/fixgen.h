#pragma once

#include <QByteArray>
#include <QString>

namespace skelvor {

/// The size and spread of a generated waypoints file.
struct WaypointFileShape {
  qsizetype lines = 300'000;
  qsizetype countries = 150;
  qsizetype largestCountryLines = 50'000;
};

/// A generated waypoints file and the country code that holds the most lines.
struct GeneratedFixFile {
  QByteArray bytes;
  QString largestCode;
};

/// Builds the same waypoints file for the same shape on every run: CR LF lines "IDENT;CC;latitude;longitude" with
/// five-letter idents and seven-decimal coordinates scattered around a made-up centre per country, the countries taken
/// from the territory table and mixed through the file. The first country holds `largestCountryLines` lines and the
/// others share the rest evenly; at most one country per slot of the territory table.
GeneratedFixFile generateWaypointFile(const WaypointFileShape& shape = {});

}  // namespace skelvor
