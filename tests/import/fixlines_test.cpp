#include "fixlines.h"
#include "nationality.h"
#include "nearestpoint.h"
#include "textinput.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

namespace skelvor {
namespace {

OurAirportsAirport airport(const char* ident, const char* type = "small_airport", const char* region = "FR-IDF") {
  OurAirportsAirport a;
  a.line = 2;
  a.ident = QString::fromUtf8(ident);
  a.type = QString::fromLatin1(type);
  a.isoRegion = QString::fromLatin1(region);
  a.isoCountry = a.isoRegion.left(2);
  a.name = QStringLiteral("Name");
  a.latitude = QStringLiteral("45.5");
  a.longitude = QStringLiteral("-1.25");
  return a;
}

TEST(AirportLines, WritesTheColumnsTheWindowReads) {
  OurAirportsAirport a = airport("LFPG", "large_airport");
  a.iataCode = QStringLiteral("CDG");
  a.elevation = QStringLiteral("392");
  a.name = QStringLiteral(" Charles de Gaulle; \"Roissy\"\t");
  a.municipality = QStringLiteral("Paris\r\nRoissy");
  EXPECT_EQ(airportLines({a}).lines,
            QStringList({"LFPG;LF;A;CDG;45.5;-1.25;392;large_airport;Charles de Gaulle, \"Roissy\";Paris  Roissy"}));
}

struct TypeCase {
  const char* type;
  std::optional<SkipReason> reason;
};

class AirportTypes : public ::testing::TestWithParam<TypeCase> {};

TEST_P(AirportTypes, KeepLandAirfieldsOnly) {
  const AirportLines out = airportLines({airport("LFPG", GetParam().type)});
  if (GetParam().reason) {
    EXPECT_TRUE(out.lines.isEmpty());
    ASSERT_EQ(out.skipped.size(), 1);
    EXPECT_EQ(out.skipped[0].reason, *GetParam().reason);
    EXPECT_EQ(out.skipped[0].line, 2);
  } else {
    EXPECT_EQ(out.lines.size(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Import, AirportTypes,
                         ::testing::Values(TypeCase{"large_airport", {}}, TypeCase{"medium_airport", {}},
                                           TypeCase{"small_airport", {}}, TypeCase{"closed", SkipReason::Closed},
                                           TypeCase{"heliport", SkipReason::NotAnAirfield},
                                           TypeCase{"seaplane_base", SkipReason::NotAnAirfield},
                                           TypeCase{"balloonport", SkipReason::NotAnAirfield},
                                           TypeCase{"Small_Airport", SkipReason::UnknownType},
                                           TypeCase{"", SkipReason::UnknownType}));

struct IdentifierCase {
  const char* icao;
  const char* gps;
  const char* ident;
  const char* written;  // nullptr: left out
};

class AirportIdentifiers : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(AirportIdentifiers, TakeTheFirstFourLetterCode) {
  OurAirportsAirport a = airport(GetParam().ident);
  a.icaoCode = QString::fromUtf8(GetParam().icao);
  a.gpsCode = QString::fromUtf8(GetParam().gps);
  const AirportLines out = airportLines({a});
  if (GetParam().written == nullptr) {
    ASSERT_EQ(out.skipped.size(), 1);
    EXPECT_EQ(out.skipped[0].reason, SkipReason::NoIcaoIdentifier);
  } else {
    ASSERT_EQ(out.lines.size(), 1);
    EXPECT_EQ(out.lines[0].section(u';', 0, 0), QString::fromLatin1(GetParam().written));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Import, AirportIdentifiers,
    ::testing::Values(IdentifierCase{"LFPG", "LFPX", "FR-1", "LFPG"}, IdentifierCase{"", "LFPX", "LFPY", "LFPX"},
                      IdentifierCase{"", "", "LFPY", "LFPY"}, IdentifierCase{"LFP", "00LF", "LFPY", "LFPY"},
                      IdentifierCase{"lfpg", "LF-PG", "LFÉG", nullptr}, IdentifierCase{"", "K00A", "00A", nullptr},
                      IdentifierCase{"", "", "LFPGX", nullptr}));

TEST(AirportLines, KeepsTheFirstOfTwoAirportsWithOneIdentifier) {
  OurAirportsAirport first = airport("LFPG");
  OurAirportsAirport second = airport("FR-2");
  second.gpsCode = QStringLiteral("LFPG");
  second.line = 9;
  first.name = QStringLiteral("First");
  const AirportLines out = airportLines({first, second});
  ASSERT_EQ(out.lines.size(), 1);
  EXPECT_TRUE(out.lines[0].endsWith(u"First;"));
  ASSERT_EQ(out.skipped.size(), 1);
  EXPECT_EQ(out.skipped[0].reason, SkipReason::DuplicateIdentifier);
  EXPECT_EQ(out.skipped[0].line, 9);
}

struct PrefixCase {
  const char* icao;
  const char* region;
  const char* code;
};

class NationalityPrefixes : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(NationalityPrefixes, FollowRealFixData) {
  EXPECT_EQ(airportCountryCode(QString::fromLatin1(GetParam().icao), QString::fromLatin1(GetParam().region)),
            QString::fromLatin1(GetParam().code));
}

INSTANTIATE_TEST_SUITE_P(Import, NationalityPrefixes,
                         ::testing::Values(PrefixCase{"KSEA", "US-WA", "K1"}, PrefixCase{"KSLC", "US-UT", "K1"},
                                           PrefixCase{"KLAX", "US-CA", "K2"}, PrefixCase{"KDEN", "US-CO", "K2"},
                                           PrefixCase{"KMSP", "US-MN", "K3"}, PrefixCase{"KSTL", "US-MO", "K3"},
                                           PrefixCase{"KDFW", "US-TX", "K4"}, PrefixCase{"KMSY", "US-LA", "K4"},
                                           PrefixCase{"KORD", "US-IL", "K5"}, PrefixCase{"KSDF", "US-KY", "K5"},
                                           PrefixCase{"KJFK", "US-NY", "K6"}, PrefixCase{"KDCA", "US-DC", "K6"},
                                           PrefixCase{"KATL", "US-GA", "K7"}, PrefixCase{"KMIA", "US-FL", "K7"},
                                           PrefixCase{"KBET", "US-AK", "K6"},  // a state the table does not list
                                           PrefixCase{"KQMG", "IQ-AN", "K6"},  // AN is no state of the United States
                                           PrefixCase{"KXXX", "IQ-CA", "K6"}, PrefixCase{"CYUL", "CA-QC", "CY"},
                                           PrefixCase{"CZBF", "CA-NB", "CY"}, PrefixCase{"YBBN", "AU-QLD", "YB"},
                                           PrefixCase{"YPDN", "AU-NT", "YB"}, PrefixCase{"YSSY", "AU-NSW", "YM"},
                                           PrefixCase{"YPCC", "CC-U-A", "YM"}, PrefixCase{"YXXX", "US-QLD", "YM"},
                                           PrefixCase{"LFPG", "FR-IDF", "LF"}, PrefixCase{"PHNL", "US-HI", "PH"},
                                           PrefixCase{"FIMP", "MU-PL", "FI"}));

TEST(FixField, NeverHoldsASeparatorOrALineEnd) {
  EXPECT_EQ(fixField(u"  a;b\tc\rd\ne\u0085f\u2028g\x7fh  "), u"a,b c d e f g h");
  EXPECT_EQ(fixField(u"Zürich – Kloten"), u"Zürich – Kloten");
  EXPECT_EQ(fixField(u"\t"), u"");
}

TEST(DecimalValue, TakesPlainDecimalsOnlyInEveryLocale) {
  EXPECT_EQ(decimalValue(u"45.5"), 45.5);
  EXPECT_EQ(decimalValue(u"-.5"), -0.5);
  EXPECT_EQ(decimalValue(u"5."), 5.0);
  EXPECT_EQ(decimalValue(u"-0"), 0.0);
  EXPECT_EQ(decimalValue(u"52.55889892578125"), 52.55889892578125);
  for (const char16_t* text : {u"", u".", u"-", u"1e1", u"+1", u" 1", u"1 ", u"1,5", u"1.2.3", u"--1", u"1-", u"nan",
                               u"inf", u"0x10", u"\u0661"})
    EXPECT_FALSE(decimalValue(text).has_value()) << QString::fromUtf16(text);
  EXPECT_TRUE(isCoordinate(u"-90", 90.0));
  EXPECT_FALSE(isCoordinate(u"90.0000001", 90.0));
  EXPECT_FALSE(isCoordinate(u"-180.5", 180.0));
}

TEST(FixFileBytes, AreUtf8LinesEndingWithCrLf) {
  EXPECT_EQ(fixFileBytes({"a;é", "b"}), QByteArray("a;\xC3\xA9\r\nb\r\n"));
  EXPECT_EQ(fixFileBytes({}), QByteArray());
}

TEST(Megahertz, TwoDecimalsFromKilohertz) {
  EXPECT_EQ(megahertzFromKhz(u"116800"), u"116.80");
  EXPECT_EQ(megahertzFromKhz(u"108050"), u"108.05");
  EXPECT_EQ(megahertzFromKhz(u"11495"), u"11.50");
  EXPECT_EQ(megahertzFromKhz(u"113325"), u"113.33");
  EXPECT_EQ(megahertzFromKhz(u"0"), u"0.00");
  EXPECT_EQ(megahertzFromKhz(u"-1"), u"");
  EXPECT_EQ(megahertzFromKhz(u"116.8"), u"");
  EXPECT_EQ(megahertzFromKhz(u"1234567890123"), u"");
}

OurAirportsNavaid navaid(const char* type, const char* country, const char* latitude, const char* longitude,
                         const char* associated = "") {
  OurAirportsNavaid n;
  n.line = 3;
  n.type = QString::fromLatin1(type);
  n.ident = QStringLiteral("AB");
  n.name = QStringLiteral("Name");
  n.frequencyKhz = QStringLiteral("116800");
  n.isoCountry = QString::fromLatin1(country);
  n.latitude = QString::fromLatin1(latitude);
  n.longitude = QString::fromLatin1(longitude);
  n.associatedAirport = QString::fromLatin1(associated);
  return n;
}

TEST(NavaidLines, WriteTheColumnsTheWindowReads) {
  OurAirportsNavaid vor = navaid("VORTAC", "FR", "45.5", "-1.25", "LFPG");
  vor.elevation = QStringLiteral("392");
  vor.magneticVariation = QStringLiteral("-1.5");
  vor.usageType = QStringLiteral("HI");
  vor.power = QStringLiteral("HIGH");
  OurAirportsNavaid ndb = navaid("NDB", "FR", "45.5", "-1.25", "LFPG");
  ndb.frequencyKhz = QStringLiteral("352");
  ndb.power = QStringLiteral("LOW");
  const AirportLines airports = airportLines({airport("LFPG")});
  EXPECT_EQ(
      navaidLines({vor, ndb, navaid("LORAN", "FR", "1", "1")}, airports.written).lines,
      QStringList({"VORTAC;LF;AB;116.80;45.5;-1.25;392;-1.5;HI/HIGH;Name", "NDB;LF;AB;352;45.5;-1.25;;;/LOW;Name"}));
}

TEST(NavaidLines, TakeTheCodeOfTheAssociatedAirportElseOfTheNearestOne) {
  OurAirportsAirport kansas = airport("KICT", "small_airport", "US-KS");  // K3
  kansas.latitude = QStringLiteral("37.6");
  kansas.longitude = QStringLiteral("-97.4");
  OurAirportsAirport texas = airport("KDFW", "small_airport", "US-TX");  // K4
  texas.latitude = QStringLiteral("32.9");
  texas.longitude = QStringLiteral("-97.0");
  OurAirportsAirport mexico = airport("MMMY", "small_airport", "MX-NLE");
  mexico.latitude = QStringLiteral("25.8");
  mexico.longitude = QStringLiteral("-100.1");
  OurAirportsAirport heliport = airport("KHEL", "heliport", "US-TX");
  const AirportLines airports = airportLines({kansas, texas, mexico, heliport});
  const auto code = [&](const OurAirportsNavaid& n) {
    const ConvertedLines out = navaidLines({n}, airports.written);
    return out.lines.isEmpty() ? QString() : out.lines[0].section(u';', 1, 1);
  };
  EXPECT_EQ(code(navaid("VOR", "US", "32.9", "-97.0", "KICT")), u"K3");  // associated wins over nearness
  EXPECT_EQ(code(navaid("VOR", "US", "36.0", "-97.0")), u"K3");
  EXPECT_EQ(code(navaid("VOR", "US", "34.0", "-97.0", "KHEL")), u"K4");  // its airport was not written
  EXPECT_EQ(code(navaid("VOR", "US", "26.0", "-100.0")), u"K4");         // Mexico is nearer, but not the same country
  EXPECT_EQ(code(navaid("VOR", "GT", "15.0", "-90.0")), u"MM");          // no airport of its country: the nearest
  const ConvertedLines none = navaidLines({navaid("VOR", "US", "1", "1")}, airportLines({}).written);
  ASSERT_EQ(none.skipped.size(), 1);
  EXPECT_EQ(none.skipped[0].reason, SkipReason::NoCountry);
}

TEST(NearestPoint, MeasuresOnTheSphere) {
  NearestPoint points;
  EXPECT_EQ(points.nearest(0, 0), -1);
  points.add(10.0, 179.5, 0);  // across the date line from the place
  points.add(10.0, 175.0, 1);
  points.add(89.9, 0.0, 2);     // near the pole, far in longitude but close
  points.add(10.0, -179.5, 3);  // as near as 0, added later
  EXPECT_EQ(points.nearest(10.0, -179.9), 3);
  EXPECT_EQ(points.nearest(10.0, 179.9), 0);
  EXPECT_EQ(points.nearest(10.0, 180.0), 0);
  EXPECT_EQ(points.nearest(89.9, 180.0), 2);
  EXPECT_EQ(points.nearest(-60.0, 176.0), 1);
}

}  // namespace
}  // namespace skelvor
