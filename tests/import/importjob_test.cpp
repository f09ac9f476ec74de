#include "importjob.h"

#include "qt_printing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace skelvor {
namespace {

QString testData(const char* name) { return QStringLiteral(SKELVOR_TEST_DATA "/") + QLatin1StringView(name); }

class ImportJob : public ::testing::Test {
 protected:
  QString path(const char* name) const { return QDir(folder.path()).filePath(QString::fromUtf8(name)); }
  void write(const char* name, const QByteArray& bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray read(const char* name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
  }
  QStringList files() const { return QDir(folder.path()).entryList(QDir::Files, QDir::Name); }
  QTemporaryDir folder;
};

TEST_F(ImportJob, ARefusedInputWritesNothing) {
  write("World Airports.csv", "earlier airports\r\n");
  write("World Navaids.csv", "earlier navaids\r\n");
  write("navaids.csv", "ident,name,type\nAB,A,NDB\n");
  const ImportOutcome outcome =
      importOurAirports({testData("ourairports-airports.csv"), path("navaids.csv"), folder.path(), "World"});
  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.errorFile, QDir::toNativeSeparators(path("navaids.csv")));
  EXPECT_EQ(outcome.error, u"the header row has no column \"frequency_khz\"");
  EXPECT_EQ(read("World Airports.csv"), "earlier airports\r\n");
  EXPECT_EQ(read("World Navaids.csv"), "earlier navaids\r\n");
  EXPECT_EQ(files(), QStringList({"World Airports.csv", "World Navaids.csv", "navaids.csv"}));
}

TEST_F(ImportJob, AnXPlaneFileOfAnOldVersionWritesNothing) {
  write("earth_nav.dat", "I\n810 Version\n2 1 2 0 352 25 0 BZ ENRT LF NAME\n99\n");
  const ImportOutcome outcome =
      importXPlane({testData("xplane-earth_fix.dat"), path("earth_nav.dat"), false, folder.path(), "XP"});
  EXPECT_EQ(outcome.errorFile, QDir::toNativeSeparators(path("earth_nav.dat")));
  EXPECT_TRUE(outcome.error.startsWith(u"X-Plane data of version 810 is refused")) << outcome.error;
  EXPECT_EQ(files(), QStringList({"earth_nav.dat"}));
}

TEST_F(ImportJob, NamesTheMissingInputOrFolder) {
  const ImportOutcome input = importOurAirports({path("none.csv"), {}, folder.path(), "World"});
  EXPECT_EQ(input.errorFile, QDir::toNativeSeparators(path("none.csv")));
  EXPECT_EQ(input.error, u"no such file");
  const ImportOutcome output = importXPlane({testData("xplane-earth_fix.dat"), {}, false, path("no folder"), "World"});
  EXPECT_EQ(output.errorFile, QDir::toNativeSeparators(path("no folder")));
  EXPECT_EQ(output.error, u"no such folder");
  EXPECT_TRUE(files().isEmpty());
}

TEST_F(ImportJob, XPlaneSamplesGiveWaypointsAndNavaids) {
  const ImportOutcome outcome =
      importXPlane({testData("xplane-earth_fix.dat"), testData("xplane-earth_nav.dat"), false, folder.path(), "XP"});
  ASSERT_TRUE(outcome.ok()) << outcome.error;
  EXPECT_EQ(read("XP Waypoints.csv"),
            "ABLAN;LF;45.183333333;5.283333333\r\nBAGNA;LF;47.051200000;2.901400000\r\n"
            "ARNOD;EG;51.870000000;-1.920000000\r\nBRAYS;EG;52.410000000;0.630000000\r\n");
  EXPECT_EQ(read("XP Navaids.csv"),
            "NDB;LF;BZ;352;43.48000000;-1.53000000;0;0.000;;BIARRITZ NDB\r\n"
            "VOR;LF;GAI;115.80;43.79050000;1.41830000;600;0.000;;GAILLAC VOR-DME\r\n"
            "DME;LF;GAI;115.80;43.79050000;1.41830000;600;0.000;;GAILLAC VOR-DME\r\n"
            "DME;EG;LON;111.35;51.47000000;-0.45000000;83;0.000;;LONDON DME\r\n");
  EXPECT_EQ(reportText(outcome),
            "XP Waypoints.csv: 4 lines written\n"
            "  left out, malformed row: 1 (line 10: fewer than 5 fields)\n"
            "  left out, user-defined fix (region ZZ): 1\n"
            "  left out, terminal area fix (see --terminal): 1\n"
            "XP Navaids.csv: 4 lines written\n"
            "  left out, not an NDB, VOR or DME: 1\n");
}

TEST(ImportName, MustNotMisleadTheWindowAboutTheKind) {
  EXPECT_TRUE(nameProblem("World").isEmpty());
  EXPECT_TRUE(nameProblem("Europe 2026").isEmpty());
  EXPECT_FALSE(nameProblem("").isEmpty());
  EXPECT_FALSE(nameProblem("  ").isEmpty());
  EXPECT_FALSE(nameProblem("a/b").isEmpty());
  EXPECT_FALSE(nameProblem("a\\b").isEmpty());
  EXPECT_FALSE(nameProblem("My Airports").isEmpty());
  EXPECT_FALSE(nameProblem("Navaids").isEmpty());
  EXPECT_FALSE(nameProblem("Waypoint").isEmpty());
}

}  // namespace
}  // namespace skelvor
