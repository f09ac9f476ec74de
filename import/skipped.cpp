#include "skipped.h"

namespace skelvor {

QString describe(SkipReason reason) {
  switch (reason) {
    case SkipReason::Malformed:
      return QStringLiteral("malformed row");
    case SkipReason::Closed:
      return QStringLiteral("closed");
    case SkipReason::NotAnAirfield:
      return QStringLiteral("heliport, seaplane base or balloon port");
    case SkipReason::UnknownType:
      return QStringLiteral("unknown type");
    case SkipReason::NoIcaoIdentifier:
      return QStringLiteral("no ICAO identifier");
    case SkipReason::DuplicateIdentifier:
      return QStringLiteral("identifier already written");
    case SkipReason::NoCountry:
      return QStringLiteral("no airport to take a country code from");
    case SkipReason::UserDefinedRegion:
      return QStringLiteral("user-defined fix (region ZZ)");
    case SkipReason::TerminalFix:
      return QStringLiteral("terminal area fix (see --terminal)");
    case SkipReason::OtherRowCode:
      return QStringLiteral("not an NDB, VOR or DME");
  }
  return {};
}

}  // namespace skelvor
