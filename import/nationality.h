#pragma once

#include <QString>
#include <QStringView>

namespace skelvor {

/// The ICAO nationality prefix that real fix data carries for an airport with the four-letter ICAO identifier `icao`
/// in the OurAirports region `isoRegion` (such as "US-CA" or "AU-QLD"): the first two letters of the identifier, except
/// K1 to K7 for the contiguous United States by state, CY for Canada and YB or YM for Australia.
QString airportCountryCode(QStringView icao, QStringView isoRegion);

}  // namespace skelvor
