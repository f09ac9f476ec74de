#include "nationality.h"

#include <algorithm>
#include <array>

namespace skelvor {

namespace {

struct StateCode {
  const char* state;
  const char* code;
};

// The contiguous United States carry K1 to K7 in fix data, after the air route traffic control centres that serve
// each state: K1 the north-west, K2 the south-west, K3 the north of the centre, K4 the south of the centre, K5 the
// Great Lakes, K6 the north-east, K7 the south-east. A centre's area follows no state border, so near those borders
// real data may carry a neighbouring code. A state not listed here takes K6.
constexpr std::array<StateCode, 49> kUnitedStates = {{
    {"WA", "K1"}, {"OR", "K1"}, {"ID", "K1"}, {"MT", "K1"}, {"UT", "K1"}, {"WY", "K1"},                //
    {"CA", "K2"}, {"NV", "K2"}, {"AZ", "K2"}, {"CO", "K2"}, {"NM", "K2"},                              //
    {"MN", "K3"}, {"ND", "K3"}, {"SD", "K3"}, {"NE", "K3"}, {"KS", "K3"}, {"IA", "K3"}, {"MO", "K3"},  //
    {"TX", "K4"}, {"OK", "K4"}, {"AR", "K4"}, {"LA", "K4"},                                            //
    {"IL", "K5"}, {"IN", "K5"}, {"OH", "K5"}, {"MI", "K5"}, {"WI", "K5"}, {"KY", "K5"},                //
    {"NY", "K6"}, {"NJ", "K6"}, {"PA", "K6"}, {"CT", "K6"}, {"RI", "K6"}, {"MA", "K6"}, {"VT", "K6"},  //
    {"NH", "K6"}, {"ME", "K6"}, {"DE", "K6"}, {"MD", "K6"}, {"DC", "K6"}, {"VA", "K6"}, {"WV", "K6"},  //
    {"GA", "K7"}, {"FL", "K7"}, {"AL", "K7"}, {"MS", "K7"}, {"TN", "K7"}, {"SC", "K7"}, {"NC", "K7"},  //
}};
constexpr char kUnlistedState[] = "K6";

// Australia's identifiers carry YB in Queensland and the Northern Territory, YM elsewhere.
constexpr std::array<const char*, 2> kAustraliaNorth = {"QLD", "NT"};

// The part of an OurAirports region after the country and its hyphen ("CA" of "US-CA"), when the region belongs to
// `country`; empty otherwise.
QStringView subdivision(QStringView isoRegion, QStringView country) {
  if (isoRegion.size() <= country.size() + 1 || !isoRegion.startsWith(country) || isoRegion[country.size()] != u'-')
    return {};
  return isoRegion.sliced(country.size() + 1);
}

}  // namespace

QString airportCountryCode(QStringView icao, QStringView isoRegion) {
  if (icao.isEmpty()) return {};
  if (icao[0] == u'K') {
    const QStringView state = subdivision(isoRegion, u"US");
    for (const StateCode& entry : kUnitedStates)
      if (state == QLatin1StringView(entry.state)) return QString::fromLatin1(entry.code);
    return QString::fromLatin1(kUnlistedState);
  }
  if (icao[0] == u'C') return QStringLiteral("CY");
  if (icao[0] == u'Y') {
    const QStringView state = subdivision(isoRegion, u"AU");
    for (const char* north : kAustraliaNorth)
      if (state == QLatin1StringView(north)) return QStringLiteral("YB");
    return QStringLiteral("YM");
  }
  return icao.first(std::min<qsizetype>(2, icao.size())).toString();
}

}  // namespace skelvor
