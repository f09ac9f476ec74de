#pragma once

#include <QList>
#include <QString>

namespace skelvor {

/// Why an importer passed over a row of its input.
enum class SkipReason {
  Malformed,            ///< the row cannot be read: broken quoting, missing fields, coordinates that are no numbers
  Closed,               ///< an airport that OurAirports marks as closed
  NotAnAirfield,        ///< a heliport, seaplane base or balloon port: the window lists only land airfields
  UnknownType,          ///< a type word that the importer does not know
  NoIcaoIdentifier,     ///< an airport without a four-letter ICAO identifier, so without a nationality prefix
  DuplicateIdentifier,  ///< a second airport with an identifier already written
  NoCountry,            ///< a navaid for which no written airport gives a country code
  UserDefinedRegion,    ///< an X-Plane fix of region ZZ, which X-Plane keeps for user-defined fixes
  TerminalFix,          ///< an X-Plane fix of an airport's terminal area, left out unless asked for
  OtherRowCode,         ///< an X-Plane navaid row of another kind: localizer, glide slope, marker, approach point
};

/// The reason in a few plain words, as the import report prints it.
QString describe(SkipReason reason);

/// One row passed over: the line of the input where it begins, counted from 1, the reason, and for a malformed row
/// what is wrong with it.
struct Skipped {
  qsizetype line = 0;
  SkipReason reason = SkipReason::Malformed;
  QString detail;
};

}  // namespace skelvor
