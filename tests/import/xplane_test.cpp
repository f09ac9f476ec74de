#include "fixlines.h"
#include "xplanefixes.h"
#include "xplanenavaids.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

namespace skelvor {
namespace {

QList<qsizetype> linesOf(const QList<Skipped>& skipped, SkipReason reason) {
  QList<qsizetype> lines;
  for (const Skipped& s : skipped)
    if (s.reason == reason) lines << s.line;
  return lines;
}

struct HeaderCase {
  const char* name;
  const char16_t* text;
  const char16_t* error;  // nullptr: accepted
};

class XPlaneHeaders : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(XPlaneHeaders, AcceptVersion1100AndLaterOnly) {
  const XPlaneFixesRead fixes = readXPlaneFixes(GetParam().text);
  const XPlaneNavaidsRead navaids = readXPlaneNavaids(GetParam().text);
  if (GetParam().error == nullptr) {
    EXPECT_TRUE(fixes.ok()) << fixes.error;
    EXPECT_TRUE(navaids.ok()) << navaids.error;
  } else {
    EXPECT_TRUE(fixes.error.contains(QStringView(GetParam().error))) << fixes.error;
    EXPECT_EQ(navaids.error, fixes.error);
    EXPECT_TRUE(fixes.fixes.isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    XPlane, XPlaneHeaders,
    ::testing::Values(HeaderCase{"intel_1101", u"I\n1101 Version - data cycle 2401. Copyright text.\n99\n", nullptr},
                      HeaderCase{"apple_1200_crlf", u"A\r\n1200 Version - Copyright\r\n", nullptr},
                      HeaderCase{"mark_and_blanks", u"\uFEFF I \n 1150\tVersion\n", nullptr},
                      HeaderCase{"version_1100", u"I\n1100 Version\n", nullptr},
                      HeaderCase{"version_1099", u"I\n1099 Version\n", u"version 1099 is refused"},
                      HeaderCase{"version_1000", u"I\n1000 Version - Copyright\n 37.0 -122.0 ABCDE\n99\n",
                                 u"version 1000 is refused: versions before 1100 have no ICAO region column"},
                      HeaderCase{"version_810", u"I\n810 Version\n", u"version 810"},
                      HeaderCase{"no_version_line", u"I\n", u"the version line is missing"},
                      HeaderCase{"no_version_number", u"I\nVersion 1101\n", u"does not begin with a version number"},
                      HeaderCase{"not_x_plane", u"ident,name\nLFPG,x\n", u"the first line is not \"I\" or \"A\""},
                      HeaderCase{"empty", u"", u"the first line is not"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(XPlaneFixes, ReadBlankSeparatedFieldsUpToTheEndLine) {
  const XPlaneFixesRead read = readXPlaneFixes(
      u"I\r\n1200 Version - Copyright\r\n"
      u"  37.428522222  -122.121522222  ALPHA ENRT K2 2105423 ALPHA ONE\r\n"  // line 3, columns after the region
      u"\r\n"
      u"-33.9\t\t151.1\tBRAVO\tYSSY\tYM\r\n"  // line 5, tabs
      u"48.5 2.5 CHARL\r\n"                   // line 6, too few fields
      u"4e1 2.5 DELTA ENRT LF\r\n"            // line 7, not a plain decimal
      u"48.5 2.5 ECHO ENRT LFX\r\n"           // line 8, a region code of 3 characters
      u"99\r\n"
      u"48.5 2.5 AFTER ENRT LF\r\n");
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(read.fixes.size(), 2);
  const XPlaneFix& first = read.fixes[0];
  EXPECT_EQ(first.line, 3);
  EXPECT_EQ(first.latitude, u"37.428522222");
  EXPECT_EQ(first.longitude, u"-122.121522222");
  EXPECT_EQ(first.ident, u"ALPHA");
  EXPECT_EQ(first.terminalArea, u"ENRT");
  EXPECT_EQ(first.region, u"K2");
  EXPECT_EQ(read.fixes[1].line, 5);
  EXPECT_EQ(read.fixes[1].terminalArea, u"YSSY");
  EXPECT_EQ(linesOf(read.skipped, SkipReason::Malformed), QList<qsizetype>({6, 7, 8}));
}

TEST(XPlaneFixes, AMissingEndLineIsAccepted) {
  const XPlaneFixesRead read = readXPlaneFixes(u"A\n1101 Version\n1.5 2.5 ALPHA ENRT LF");
  ASSERT_EQ(read.fixes.size(), 1);
  EXPECT_EQ(read.fixes[0].ident, u"ALPHA");
}

TEST(WaypointLines, EnRouteFixesByDefaultAndNeverUserDefinedOnes) {
  const XPlaneFixesRead read = readXPlaneFixes(
      u"I\n1101 Version\n"
      u"1.5 2.5 ALPHA ENRT LF\n"
      u"1.6 2.6 BRAVO LFPG LF\n"
      u"1.7 2.7 MYFIX ENRT ZZ\n");
  const ConvertedLines enRoute = waypointLines(read.fixes, false);
  EXPECT_EQ(enRoute.lines, QStringList({"ALPHA;LF;1.5;2.5"}));
  EXPECT_EQ(linesOf(enRoute.skipped, SkipReason::TerminalFix), QList<qsizetype>({4}));
  EXPECT_EQ(linesOf(enRoute.skipped, SkipReason::UserDefinedRegion), QList<qsizetype>({5}));
  EXPECT_EQ(waypointLines(read.fixes, true).lines, QStringList({"ALPHA;LF;1.5;2.5", "BRAVO;LF;1.6;2.6"}));
}

TEST(XPlaneNavaids, KeepNdbVorAndDmeRowsWithTheirNames) {
  const XPlaneNavaidsRead read = readXPlaneNavaids(
      u"I\n1150 Version - Copyright\n"
      u"2  47.63252778 -122.38952778  0 362 50 0.0 BF ENRT K1 NOLLA/KBFI LMM NDB\n"        // 3
      u"3  47.43538889 -122.30961111 356 11680 130 19.0 SEA ENRT K1 SEATTLE VORTAC\n"      // 4
      u"4  47.46 -122.31 432 11090 18 180.0 ISNQ KSEA K1 16L ILS-cat-I\n"                  // 5, a localizer
      u"6  47.46 -122.31 432 11090 10 300180.0 ISNQ KSEA K1 16L GS\n"                      // 6, a glide slope
      u"12 47.43538889\t-122.30961111 356 11680 130 0.0 SEA ENRT K1 SEATTLE VORTAC DME\n"  // 7
      u"13 -33.95 151.18 21 11270 25 0.0 SY YSSY YM SYDNEY DME\n"                          // 8
      u"14 47.46 -122.31 432 0 0 0 KSEA K1 16L\n"                                          // 9, an approach point
      u"3 47.4 -122.3 356 116.8 130 19.0 BAD ENRT K1 BAD\n"                                // 10, a decimal frequency
      u"3 47.4 -122.3 356 11680\n"                                                         // 11, too few fields
      u"X 1 2\n"                                                                           // 12, no row code
      u"99\n");
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(read.navaids.size(), 4);
  const XPlaneNavaid& ndb = read.navaids[0];
  EXPECT_EQ(ndb.kind, XPlaneNavaidKind::Ndb);
  EXPECT_EQ(ndb.latitude, u"47.63252778");
  EXPECT_EQ(ndb.frequency, u"362");
  EXPECT_EQ(ndb.ident, u"BF");
  EXPECT_EQ(ndb.region, u"K1");
  EXPECT_EQ(ndb.name, u"NOLLA/KBFI LMM NDB");
  EXPECT_EQ(read.navaids[2].name, u"SEATTLE VORTAC DME");
  EXPECT_EQ(read.navaids[3].kind, XPlaneNavaidKind::LoneDme);
  EXPECT_EQ(linesOf(read.skipped, SkipReason::OtherRowCode), QList<qsizetype>({5, 6, 9}));
  EXPECT_EQ(linesOf(read.skipped, SkipReason::Malformed), QList<qsizetype>({10, 11, 12}));
  EXPECT_EQ(navaidLines(read.navaids).lines,
            QStringList({"NDB;K1;BF;362;47.63252778;-122.38952778;0;0.0;;NOLLA/KBFI LMM NDB",
                         "VOR;K1;SEA;116.80;47.43538889;-122.30961111;356;19.0;;SEATTLE VORTAC",
                         "DME;K1;SEA;116.80;47.43538889;-122.30961111;356;0.0;;SEATTLE VORTAC DME",
                         "DME;YM;SY;112.70;-33.95;151.18;21;0.0;;SYDNEY DME"}));
}

}  // namespace
}  // namespace skelvor
