#include "exporter.h"

#include "countryrows.h"
#include "countrysource.h"
#include "fixfile.h"
#include "gpx.h"
#include "gpxdocument.h"
#include "paths.h"
#include "qt_printing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

namespace skelvor {
namespace {

class PickCountry : public ::testing::Test {
 protected:
  void SetUp() override { fillTerritories(table); }
  TerritoryTable table;
  const QStringList codes = {"EG", "FL", "Fl", "LF", "XX", "zz"};
};

TEST_F(PickCountry, TakesACodeOrATableName) {
  const struct {
    const char* typed;
    const char* code;
  } cases[] = {{"LF", "LF"},        {"lf", "LF"},     {"Fl", "Fl"}, {"fl", "FL"}, {"France", "LF"},
               {"Mauritius", "Fl"}, {"Zambia", "FL"}, {"XX", "XX"}, {"ZZ", "zz"}, {"United Kingdom", "EG"}};
  for (const auto& c : cases) {
    const CountryPick pick = pickCountry(codes, table, QString::fromUtf8(c.typed));
    EXPECT_EQ(pick.code.value_or("(none)"), QString::fromUtf8(c.code)) << c.typed << ": " << pick.error;
  }
}

TEST_F(PickCountry, NamesWhyThereIsNone) {
  const struct {
    const char* typed;
    const char* error;
  } cases[] = {
      {"Spain", "Spain (code LE) is not in the file"},
      {"LE", "the country code LE is not in the file"},
      {"france", "\"france\" is neither a country code of the file nor a country name of the territory table"},
      {"Atlantis", "\"Atlantis\" is neither a country code of the file nor a country name of the territory table"},
  };
  for (const auto& c : cases) {
    const CountryPick pick = pickCountry(codes, table, QString::fromUtf8(c.typed));
    EXPECT_FALSE(pick.code.has_value()) << c.typed;
    EXPECT_EQ(pick.error, QString::fromUtf8(c.error));
  }
  // A name is picked only when the file holds its code as the table writes it, as in the window's name list.
  EXPECT_FALSE(pickCountry({"lf"}, table, "France").code.has_value());
}

TEST(ExportedRows, FindSelectsInListOrderAndNoSearchTakesAll) {
  const FixLines lines(QByteArray("abd;LF;5;6\nABC;LF;1;2\nX&Y;LF;3;4\nZZZ;EG;7;8\n"));
  const CountryRows country(lines, u"LF", u"WPT", ListOrder(QLocale::c()));
  CountryRows::Room room;
  ASSERT_EQ(country.compact(0, room), u"ABC |1|2");
  ASSERT_EQ(country.compact(1, room), u"abd |5|6");
  EXPECT_EQ(country.taken(std::nullopt), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(country.taken(QString("ab")), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(country.taken(QString("&")), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(country.taken(QString("nowhere")), (std::vector<bool>{false, false, false}));
  // Find reads the whole row, its run of 120 spaces included.
  EXPECT_EQ(country.taken(QString(100, u' ')), (std::vector<bool>{true, true, true}));
  EXPECT_EQ(country.taken(QString("C |")), (std::vector<bool>{false, false, false}));
  const CountryRows none(lines, u"FR", u"WPT", ListOrder(QLocale::c()));
  EXPECT_EQ(none.taken(std::nullopt), std::vector<bool>{});
}

// ---- Export, byte for byte

// One waypoint block, as the GPX file holds it.
QByteArray block(const char* name, const char* latitude, const char* longitude) {
  return QByteArray("\r\n<wpt lat=\"") + latitude + "\" lon=\"" + longitude + "\">\r\n <name>" + name +
         "</name>\r\n</wpt>";
}

// A whole GPX file with these blocks.
QByteArray gpxFile(const QByteArray& blocks) {
  return "<?xml version=\"1.0\"?>\r\n" + gpxOpeningTag().toUtf8() + blocks + "</gpx>\r\n";
}

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Navaids in UTF-8 and waypoints in Windows-1252: countries in the order asked, rows in list order, Find's rows only,
// names and coordinates escaped, and each export added to the file the ones before it wrote.
TEST(RunExport, WritesTheCountriesInListOrderWithFindsRows) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray navaids =
      "VOR;LF; BTZ ;x;43.47;-1.52;x;x;x;BIARRITZ\r\nNDB;EG;WLN;x;52.60;-1.02;x;x;x;WELLINGHAM\r\n"
      "VOR;LF;abv;x;45.1;5.2;x;x;x;A&B "
      "<CO>\r\nDME;lf;CHW;x;1;2;x;x;x;lower\r\nTAC;LF;AMB;x;47.43;1.04;x;x;x;AMBOISE\r\n"
      "VOR;LF;SHORT;x;1;2\r\nNDB;LF;\xC3\x89VX;x;49.1;1.2;x;x;x;\xC3\x89VREUX\r\n";
  const QByteArray waypoints = "zulu;LF;1;2\r\nAlpha;LF;3;4|5\r\nX&Y;EG;5;6\r\nxy\xE9;LF;7;8\r\nbeta;lf;9;10";
  const struct {
    const char* file;
    QStringList countries;
    std::optional<QString> search;
    QByteArray blocks;
  } cases[] = {
      {"Test Navaids.csv",
       {"LF"},
       std::nullopt,
       block("abv", "45.1", "5.2") + block("AMB", "47.43", "1.04") + block("BTZ", "43.47", "-1.52") +
           block("\xC3\x89VX", "49.1", "1.2")},
      {"Test Navaids.csv", {"EG", "lf"}, std::nullopt, block("WLN", "52.60", "-1.02") + block("CHW", "1", "2")},
      {"Test Navaids.csv", {"France"}, QString("&b <"), block("abv", "45.1", "5.2")},
      {"Test Navaids.csv",
       {"lf", "LF"},
       QString("|4"),
       block("abv", "45.1", "5.2") + block("AMB", "47.43", "1.04") + block("BTZ", "43.47", "-1.52") +
           block("\xC3\x89VX", "49.1", "1.2")},
      {"Test Navaids.csv", {"LF"}, QString("\xC3\xA9vreux"), block("\xC3\x89VX", "49.1", "1.2")},
      {"Test Waypoints.csv",
       {"LF", "EG"},
       std::nullopt,
       block("Alpha", "4", "5") + block("xy\xC3\xA9", "7", "8") + block("zulu", "1", "2") + block("X&amp;Y", "5", "6")},
      {"Test Waypoints.csv", {"LF"}, QString("Y\u00C9"), block("xy\xC3\xA9", "7", "8")},
  };
  ASSERT_TRUE(writeFile(dir.filePath("Test Navaids.csv"), navaids));
  ASSERT_TRUE(writeFile(dir.filePath("Test Waypoints.csv"), waypoints));
  QByteArray kept;
  for (const auto& c : cases) {
    ExportRequest request;
    request.fixFile = dir.filePath(c.file);
    request.countries = c.countries;
    request.search = c.search;
    request.output = "-";
    const ExportOutcome printed = runExport(request);
    ASSERT_TRUE(printed.ok) << printed.error;
    EXPECT_EQ(printed.standardOutput.toStdString(), gpxFile(c.blocks).toStdString()) << c.countries.join(u' ');

    request.output = dir.filePath("VOK.gpx");
    request.append = !kept.isEmpty();
    const ExportOutcome written = runExport(request);
    ASSERT_TRUE(written.ok) << written.error;
    EXPECT_TRUE(written.standardOutput.isEmpty());
    kept += c.blocks;
    EXPECT_EQ(contentsOf(request.output).toStdString(), gpxFile(kept).toStdString()) << c.countries.join(u' ');
  }

  // Without a row that holds the Find text there is nothing to write, and the earlier file stays as it was.
  ExportRequest request;
  request.fixFile = dir.filePath("Test Navaids.csv");
  request.countries = {"EG", "LF"};
  request.search = "no such text";
  request.output = dir.filePath("VOK.gpx");
  const ExportOutcome none = runExport(request);
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.error,
            request.fixFile + ": no waypoint to write: the countries chosen have no row that holds \"no such text\"");
  EXPECT_EQ(contentsOf(request.output), gpxFile(kept));
  request.output = dir.filePath("none.gpx");
  EXPECT_FALSE(runExport(request).ok);
  EXPECT_FALSE(QFile::exists(request.output));
}

// A file of several megabytes is read in two passes, a block at a time: it gives what the same countries give out of a
// small file; a Windows-1252 byte in its last line still decides how the chosen lines decode.
TEST(RunExport, ReadsALargeFileAsASmallOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray chosen = "b\xC3\xA9ta;EG;1;2\r\nalpha;LF;3;4\r\nZ&Z;LF;5;6\r\n";
  QByteArray filler;
  for (int i = 0; filler.size() < (5 << 20); ++i) filler += "F" + QByteArray::number(i) + ";ZZ;1.5;2.5\r\n";
  ExportRequest request;
  request.countries = {"EG", "LF"};
  request.output = "-";
  for (const QByteArray& last : {QByteArray(), QByteArray("LAST;ZZ;\xE9;0")}) {
    request.fixFile = dir.filePath("Small Waypoints.csv");
    ASSERT_TRUE(writeFile(request.fixFile, chosen + last));
    const ExportOutcome small = runExport(request);
    ASSERT_TRUE(small.ok) << small.error;
    request.fixFile = dir.filePath("Large Waypoints.csv");
    const qsizetype middle = filler.indexOf('\n', filler.size() / 2) + 1;
    ASSERT_TRUE(writeFile(request.fixFile, filler.first(middle) + chosen + filler.sliced(middle) + last));
    ASSERT_TRUE(CountrySource::readsInTwoPasses(QFileInfo(request.fixFile).size()));
    const ExportOutcome large = runExport(request);
    ASSERT_TRUE(large.ok) << large.error;
    EXPECT_EQ(large.standardOutput.toStdString(), small.standardOutput.toStdString()) << last.size();
    EXPECT_EQ(large.standardOutput.contains("b\xC3\x83\xC2\xA9ta"), !last.isEmpty());
  }
  // Listing every country reads the large file by the same policy, whole in the end: the filler and the last line.
  ExportRequest listing = request;
  listing.mode = ExportRequest::Mode::ListCountries;
  const ExportOutcome listed = runExport(listing);
  ASSERT_TRUE(listed.ok) << listed.error;
  EXPECT_TRUE(listed.standardOutput.contains("ZZ\tChina ZZ\t" + QByteArray::number(filler.count('\n') + 1) + "\n"))
      << listed.standardOutput.toStdString();
}

// The fixes near a receiver at Lille, from excerpts of the world files, the navaids with two more lines that cannot be
// placed: files in the order given, then countries in list order, then rows in the window's order.
TEST(RunExport, WritesTheFixesWithinRangeOfAPoint) {
  QTemporaryDir dir;
  const QString airports = dir.filePath("World Airports.csv");
  const QString navaids = dir.filePath("World Navaids.csv");
  ASSERT_TRUE(QFile::copy(SKELVOR_TEST_DATA "/ourairports-expected-airports.csv", airports));
  QFile navaidLines(SKELVOR_TEST_DATA "/ourairports-expected-navaids.csv");
  QFile navaidFile(navaids);
  ASSERT_TRUE(navaidLines.open(QIODevice::ReadOnly) && navaidFile.open(QIODevice::WriteOnly));
  navaidFile.write(navaidLines.readAll() +
                   "NDB;LF;BAD;1;;3.0;0;0;LO;Nowhere\r\nVOR;EG;FAR;1;51,5;0.5;0;0;LO;Comma\r\n");
  navaidFile.close();

  const char* const twoLeftOut = "2 fixes without usable coordinates were left out";
  const char* const oneLeftOut = "1 fix without usable coordinates was left out";
  const struct {
    const char* files;      // A for the airports, N for the navaids, in the order given
    const char* around;     // the point and the distance
    const char* countries;  // separated by "|"
    const char* search;
    const char* written;  // the names of the waypoints, or what --list-countries prints
    const char* note;
    bool listing = false;
  } cases[] = {
      {"AN", "50.63,3.07 250nm", "", nullptr, "EDDF EGLL LFPG LFPO ENW FRD SAD CTL PGS RTN", twoLeftOut},
      {"NA", "50.63,3.07 400km", "", nullptr, "FRD SAD CTL PGS RTN EDDF EGLL LFPG LFPO", twoLeftOut},
      {"AN", "50.63,3.07 250nm", "France", nullptr, "LFPG LFPO CTL PGS RTN", oneLeftOut},
      {"AN", "50.63,3.07 250nm", "EG|ED|Germany Civil", "f", "EDDF FRD", oneLeftOut},
      {"A", "0,-160 10km", "", "x", "", "no fix within 10km of 0,-160 holds \"x\"; the GPX file holds no waypoint"},
      {"AN", "50.63,3.07 250nm", "", nullptr, "ED\tGermany Civil\t4\nEG\tUnited Kingdom\t1\nLF\tFrance\t5\n",
       twoLeftOut, true},
  };
  const QRegularExpression name("<name>([^<]*)</name>");
  for (const auto& c : cases) {
    ExportRequest request;
    request.mode = c.listing ? ExportRequest::Mode::ListCountries : ExportRequest::Mode::Countries;
    for (const char file : std::string_view(c.files)) request.moreFiles.append(file == 'A' ? airports : navaids);
    request.fixFile = request.moreFiles.takeFirst();
    const QStringList around = QString(c.around).split(' ');
    QString error;
    request.around = {parsePoint(around[0], error).value(), parseDistance(around[1], error).value(), around[0],
                      around[1]};
    request.countries = QString(c.countries).split('|', Qt::SkipEmptyParts);
    if (c.search) request.search = c.search;
    request.output = "-";
    const ExportOutcome outcome = runExport(request);
    ASSERT_TRUE(outcome.ok) << outcome.error;
    QStringList names;
    for (const QRegularExpressionMatch& match : name.globalMatch(QString::fromUtf8(outcome.standardOutput)))
      names.append(match.captured(1));
    EXPECT_EQ(c.listing ? QString::fromUtf8(outcome.standardOutput) : names.join(' '), c.written) << c.around;
    EXPECT_EQ(outcome.notes, QStringList{c.note}) << c.around << " " << c.countries;
  }

  ExportRequest unknown;
  unknown.fixFile = airports;
  unknown.moreFiles = {navaids};
  unknown.around = {{50.63, 3.07}, 463, "50.63,3.07", "250nm"};
  unknown.countries = {"Spain"};
  EXPECT_EQ(runExport(unknown).error, "no file given holds the country \"Spain\"");
  unknown.moreFiles.clear();
  EXPECT_EQ(runExport(unknown).error, airports + ": Spain (code LE) is not in the file");
}

// A range that takes every fix writes what an export of every country in list order writes, whatever the file's
// encoding: the lines in range are read apart from the rest of the file, which still decides how they decode.
TEST(RunExport, WritesAllOfAWholeWorldRangeAsTheCountriesInListOrder) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Mixed Waypoints.csv");
  const QByteArray lines = "\xC3\x89TANG;LF;45.0;5.0\r\nzed;EG;52;-2\r\nabc;LF;7.0;8.0\r\n\xC5\x92UF;eg;51;-1\r\n";
  for (const QByteArray& bytes : {lines, "\xEF\xBB\xBF" + lines, "\xEF\xBB\xBF" + lines + "L\xC9ST;LF;1;1\r\n"}) {
    ASSERT_TRUE(writeFile(path, bytes));
    ExportRequest request;
    request.fixFile = path;
    request.output = "-";
    request.countries = ListOrder().sorted(collectCodes(readFixFileLines(path).lines));
    const ExportOutcome countries = runExport(request);
    ASSERT_TRUE(countries.ok) << countries.error;
    request.countries.clear();
    request.around = ExportRequest::Around{{0, 0}, 20100, "0,0", "20100km"};
    const ExportOutcome inRange = runExport(request);
    EXPECT_EQ(inRange.standardOutput.toStdString(), countries.standardOutput.toStdString());
    EXPECT_TRUE(inRange.notes.isEmpty()) << inRange.notes.join(' ');
  }
}

TEST(GpxDocument, ReadsBackTheBodyThatTheFileWasWrittenWith) {
  for (const QByteArray& body :
       {QByteArray(), block("\xC3\x89vreux &amp; &lt;Cap&gt; &quot;Q&quot;", "1", "2") + block("Z", "", "")}) {
    GpxDocument document;
    ASSERT_TRUE(document.readBack(gpxFile(body)));
    EXPECT_EQ(document.CORPS(), body);
    EXPECT_EQ(document.bytes(), gpxFile(body));
  }
}

TEST(GpxDocument, RefusesWhatSkelvorDidNotWrite) {
  const QByteArray written = gpxFile(block("A", "1", "2"));
  QByteArray otherCreator = written;
  otherCreator.replace("GPS Visualizer ", "Another Program ");
  QByteArray notUtf8 = written;
  notUtf8.replace("<name>A", "<name>\xE9");
  const QByteArray cases[] = {{},
                              otherCreator,
                              written.chopped(2),
                              written + "\r\n",
                              written.sliced(1),
                              notUtf8,
                              "<?xml version=\"1.0\"?>\r\n<gpx></gpx>\r\n",
                              gpxFile({}).chopped(2)};
  for (const QByteArray& bytes : cases) {
    GpxDocument document;
    document.restoreCORPS("kept");
    EXPECT_FALSE(document.readBack(bytes)) << bytes.toStdString();
    EXPECT_EQ(document.CORPS(), "kept");
  }
}

TEST(SafeFileName, MakesEveryNameFitForEveryFileSystem) {
  const struct {
    const char* name;
    const char* safe;
  } cases[] = {{"France", "France"},
               {"Korea, South", "Korea, South"},
               {"New Caledonia & Wallis and Futuna 01", "New Caledonia & Wallis and Futuna 01"},
               {"Évreux", "Évreux"},
               {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
               {"tab\there\x01", "tab_here_"},
               {"", "_"},
               {".", "_"},
               {"..", "__"},
               {".hidden", "_hidden"},
               {"end. ", "end__"},
               {"CON", "CON_"},
               {"nul.txt", "nul.txt_"},
               {"com7", "com7_"},
               {"COM0", "COM0"},
               {"LPT", "LPT"},
               {"CONSOLE", "CONSOLE"}};
  for (const auto& c : cases) EXPECT_EQ(safeFileName(QString::fromUtf8(c.name)), QString::fromUtf8(c.safe)) << c.name;
  EXPECT_EQ(safeFileName(QString(300, u'x')), QString(100, u'x'));
}

TEST(CountryFileNames, GivesEachCodeItsOwnSafeName) {
  TerritoryTable table;
  fillTerritories(table);
  const QStringList codes = {"FL", "Fl", "Zambia", "a/b", "a_b", "xx", "XX", "", ".", "LF", "France", "france"};
  const QStringList names = countryFileNames(codes, table);
  EXPECT_EQ(names, QStringList({"Zambia", "Mauritius", "Zambia (Zambia)", "a_b", "a_b (a_b)", "xx", "XX (XX)", "_",
                                "_ (_)", "France", "France (France)", "france 2"}));
  QSet<QString> folded;
  for (const QString& name : names) folded.insert(name.toCaseFolded());
  EXPECT_EQ(folded.size(), codes.size());
  // Names already taken with their code as well get a number.
  EXPECT_EQ(countryFileNames({"a/b", "a_b", "a_b (a_b)", "A:B"}, table),
            QStringList({"a_b", "a_b (a_b)", "a_b (a_b) (a_b (a_b))", "A_B 2"}));
}

}  // namespace
}  // namespace skelvor
