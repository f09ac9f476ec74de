#include "ourairports.h"
#include "importjob.h"

#include "qt_printing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace skelvor {
namespace {

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("cannot read " + path.toUtf8());
}

QString testData(const char* name) { return QStringLiteral(SKELVOR_TEST_DATA "/") + QLatin1StringView(name); }

TEST(OurAirportsReader, FindsColumnsByNameInAnyOrder) {
  const AirportsRead read = readOurAirportsAirports(
      u"\"name\",\"latitude_deg\",\"extra\",\"longitude_deg\",\"ident\",\"type\",\"iso_country\",\"iso_region\"\n"
      u"\"Orly\",48.7233,\"x\",2.3794,\"LFPO\",\"large_airport\",\"FR\",\"FR-IDF\"\n");
  ASSERT_TRUE(read.ok()) << read.error;
  ASSERT_EQ(read.records.size(), 1);
  const OurAirportsAirport& airport = read.records[0];
  EXPECT_EQ(airport.line, 2);
  EXPECT_EQ(airport.ident, u"LFPO");
  EXPECT_EQ(airport.name, u"Orly");
  EXPECT_EQ(airport.latitude, u"48.7233");
  EXPECT_EQ(airport.longitude, u"2.3794");
  EXPECT_EQ(airport.isoRegion, u"FR-IDF");
  EXPECT_TRUE(airport.icaoCode.isEmpty());  // an optional column the file lacks
}

TEST(OurAirportsReader, RefusesAHeaderWithoutANeededColumn) {
  const AirportsRead airports = readOurAirportsAirports(u"ident,type,name,longitude_deg,iso_country,iso_region\n");
  EXPECT_EQ(airports.error, u"the header row has no column \"latitude_deg\"");
  const NavaidsRead navaids = readOurAirportsNavaids(u"ident,name,type,latitude_deg,longitude_deg,iso_country\n");
  EXPECT_EQ(navaids.error, u"the header row has no column \"frequency_khz\"");
  EXPECT_EQ(readOurAirportsNavaids(u"").error, u"the file is empty: it has no header row");
}

TEST(OurAirportsReader, PassesOverMalformedRowsWithTheirLines) {
  const NavaidsRead read = readOurAirportsNavaids(
      u"ident,name,type,frequency_khz,latitude_deg,longitude_deg,iso_country\n"
      u"AB,\"A\nB\",NDB,350,45.5,-1.25,FR\n"  // lines 2 and 3
      u"CD,C,NDB,350,45.5,FR\n"               // a field short
      u"EF,E,NDB,350,1e1,2,FR\n"              // an exponent, which GPX refuses
      u"GH,G,NDB,350,91,2,FR\n"               // beyond the pole
      u"IJ,I,NDB,350,,2,FR\n"                 // no latitude
      u"KL,\"K\"x,NDB,350,1,2,FR\n"           // text after a closing quote
      u"OP,O, P,NDB,350,1,2,FR\n"             // an unquoted comma in the name
      u"MN,M,VOR,116800,-.5,180,FR\n");
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(read.records.size(), 2);
  EXPECT_EQ(read.records[0].name, u"A\nB");
  EXPECT_EQ(read.records[1].line, 10);
  QList<qsizetype> lines;
  for (const Skipped& skipped : read.skipped) {
    EXPECT_EQ(skipped.reason, SkipReason::Malformed);
    lines << skipped.line;
  }
  EXPECT_EQ(lines, QList<qsizetype>({4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(read.skipped[0].detail, u"6 fields where the header has 7");
  EXPECT_EQ(read.skipped[5].detail, u"8 fields where the header has 7");
}

// The committed excerpts hold a few hundred real rows of the dump, chosen to cover the rules: airports of the
// contiguous United States, Canada and Australia, every type, duplicates, quotes and accents; navaids with and without
// an associated airport, in countries with and without a written airport. The expected files were checked against an
// independent implementation of the same rules.
TEST(OurAirportsImport, WritesTheExpectedFilesFromTheExcerpts) {
  QTemporaryDir folder;
  const ImportOutcome outcome = importOurAirports(
      {testData("ourairports-airports.csv"), testData("ourairports-navaids.csv"), folder.path(), "Excerpt"});
  ASSERT_TRUE(outcome.ok()) << outcome.errorFile << ": " << outcome.error;
  EXPECT_EQ(fileBytes(QDir(folder.path()).filePath("Excerpt Airports.csv")),
            fileBytes(testData("ourairports-expected-airports.csv")));
  EXPECT_EQ(fileBytes(QDir(folder.path()).filePath("Excerpt Navaids.csv")),
            fileBytes(testData("ourairports-expected-navaids.csv")));
  EXPECT_EQ(reportText(outcome),
            "Excerpt Airports.csv: 125 lines written\n"
            "  left out, closed: 7\n"
            "  left out, heliport, seaplane base or balloon port: 18\n"
            "  left out, no ICAO identifier: 55\n"
            "  left out, identifier already written: 3\n"
            "Excerpt Navaids.csv: 94 lines written\n");
}

}  // namespace
}  // namespace skelvor
