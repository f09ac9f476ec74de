#include "exporter.h"

#include "countryrows.h"
#include "countrysource.h"
#include "fixreference.h"
#include "gpx.h"
#include "gpxdocument.h"
#include "gpxreference.h"
#include "paths.h"
#include "qt_printing.h"
#include "testrows.h"

#include <gtest/gtest.h>

#include <QFile>
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

// ---- Export against the window's way

// A fix file of `kind` whose lines fall to the countries LF, EG and lf in turn, named from the generated rows and a few
// names that need escaping.
QByteArray generatedFixFile(const QString& kind) {
  QList<GeneratedRow> rows = generatedRows(400);
  for (const char* name : {"<Caf\xC3\xA9> & \"Q\"", "\xF0\x9F\x9B\xA9 >", "| 4"}) rows.append({name, true, {}, {}});
  const QStringList codes = {"LF", "EG", "lf"};
  QString text;
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const GeneratedRow& row = rows.at(i);
    const QString& code = codes.at(i % codes.size());
    const QString at = row.plain ? QStringLiteral("1;2") : row.latitude + u';' + row.longitude;
    const QString other = rows.at((i * 7) % rows.size()).visible;
    if (kind == u"NAV")
      text += "VOR;" + code + u';' + row.visible + ";x;" + at + ";x;x;x;" + other;
    else if (kind == u"WPT")
      text += row.visible + u';' + code + u';' + at;
    else
      text += row.visible + u';' + code + (i % 2 == 0 ? ";A;;" : ";A;XY;") + at + ";x;x;" + other;
    text += "\r\n";
  }
  return text.toUtf8();
}

// The body the window gathers: each country's rows in list order, Find's rows or all of them, the block of each
// row's whole text.
QString windowBody(const QStringList& lines, const QString& kind, const QStringList& codes,
                   const std::optional<QString>& search) {
  const FixLines fixLines(lines.join(u'\n').toUtf8());
  QString body;
  for (const QString& code : codes) {
    const CountryRows rows(fixLines, code, kind, ListOrder());
    const std::vector<bool> taken = rows.taken(search);
    for (qsizetype place = 0; place < rows.size(); ++place)
      if (taken[static_cast<std::size_t>(place)]) appendWaypointBlock(body, waypointFields(rows.item(place)).value());
  }
  return body;
}

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(RunExport, WritesTheBytesTheWindowWrites) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString head = gpxDeclaration() + gpxOpeningTag();
  const QString foot = gpxClosingTag();
  for (const auto& [kind, name] : {std::pair{"NAV", "Test Navaids.csv"}, std::pair{"WPT", "Test Waypoints.csv"},
                                   std::pair{"APT", "Test Airports.csv"}}) {
    ExportRequest request;
    request.fixFile = dir.filePath(name);
    QFile fixFile(request.fixFile);
    ASSERT_TRUE(fixFile.open(QIODevice::WriteOnly) && fixFile.write(generatedFixFile(kind)) > 0);
    fixFile.close();
    const QStringList lines = readFixFile(request.fixFile).lines;
    const struct {
      QStringList countries;
      std::optional<QString> search;
      QStringList codes;
    } cases[] = {{{"LF"}, std::nullopt, {"LF"}},
                 {{"EG", "lf"}, QString("\u00E9"), {"EG", "lf"}},
                 {{"lf", "France"}, QString("|4"), {"lf", "LF"}},
                 {{"LF", "EG", "lf"}, QString("  "), {"LF", "EG", "lf"}},
                 {{"EG"}, QString("&"), {"EG"}}};
    QString kept;
    for (const auto& c : cases) {
      const QString expectedBody = windowBody(lines, kind, c.codes, c.search);
      ASSERT_FALSE(expectedBody.isEmpty());
      request.countries = c.countries;
      request.search = c.search;
      request.output = "-";
      request.append = false;
      const ExportOutcome printed = runExport(request);
      ASSERT_TRUE(printed.ok) << printed.error;
      EXPECT_EQ(printed.standardOutput.toStdString(), gpxFileBytes(head, expectedBody, foot).toStdString())
          << kind << " " << c.countries.join(u' ');

      // Each case is added to the file the cases before it wrote.
      request.output = dir.filePath("VOK.gpx");
      request.append = !kept.isEmpty();
      const ExportOutcome written = runExport(request);
      ASSERT_TRUE(written.ok) << written.error;
      EXPECT_TRUE(written.standardOutput.isEmpty());
      kept += expectedBody;
      EXPECT_EQ(contentsOf(request.output).toStdString(), gpxFileBytes(head, kept, foot).toStdString())
          << kind << " " << c.countries.join(u' ');
    }

    // Without a row that holds the Find text there is nothing to write, and the earlier file stays as it was.
    const QByteArray earlier = contentsOf(request.output);
    request.countries = {"EG", "LF"};
    request.search = "no such text";
    request.append = false;
    const ExportOutcome none = runExport(request);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.error,
              request.fixFile + ": no waypoint to write: the countries chosen have no row that holds \"no such text\"");
    EXPECT_EQ(contentsOf(request.output), earlier);
    request.output = dir.filePath("none.gpx");
    EXPECT_FALSE(runExport(request).ok);
    EXPECT_FALSE(QFile::exists(request.output));
    ASSERT_TRUE(QFile::remove(dir.filePath("VOK.gpx")));
  }
}

// A file of several megabytes is read in two passes, a block at a time; a Windows-1252 byte in its last line still
// decides how the chosen lines decode.
TEST(RunExport, ReadsALargeFileAsTheWindowDoes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ExportRequest request;
  request.fixFile = dir.filePath("Large Waypoints.csv");
  request.countries = {"EG", "LF"};
  request.output = "-";
  QByteArray filler;
  for (int i = 0; filler.size() < (5 << 20); ++i) filler += "F" + QByteArray::number(i) + ";ZZ;1.5;2.5\r\n";
  for (const QByteArray& last : {QByteArray(), QByteArray("LAST;ZZ;\xE9;0")}) {
    QFile fixFile(request.fixFile);
    ASSERT_TRUE(fixFile.open(QIODevice::WriteOnly));
    fixFile.write(filler.first(filler.size() / 2) + generatedFixFile("WPT") + filler.sliced(filler.size() / 2) + last);
    fixFile.close();
    ASSERT_TRUE(CountrySource::readsInTwoPasses(fixFile.size()));
    ASSERT_FALSE(CountrySource::readsInTwoPasses(fixFile.size() / 2));
    const QString body = windowBody(readFixFile(request.fixFile).lines, "WPT", {"EG", "LF"}, std::nullopt);
    ASSERT_FALSE(body.isEmpty());
    const ExportOutcome printed = runExport(request);
    ASSERT_TRUE(printed.ok) << printed.error;
    EXPECT_EQ(printed.standardOutput.toStdString(),
              gpxFileBytes(gpxDeclaration() + gpxOpeningTag(), body, gpxClosingTag()).toStdString())
        << last.size();
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
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
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
  const QString head = gpxDeclaration() + gpxOpeningTag();
  const QString foot = gpxClosingTag();
  for (const QString& body :
       {QString(), waypointBlock({"Évreux & <Cap> \"Q\"", "1", "2"}) + waypointBlock({"Z", "", ""})}) {
    GpxDocument document;
    ASSERT_TRUE(document.readBack(gpxFileBytes(head, body, foot)));
    EXPECT_EQ(document.CORPS(), body.toUtf8());
    EXPECT_EQ(document.bytes(), gpxFileBytes(head, body, foot));
  }
}

TEST(GpxDocument, RefusesWhatSkelvorDidNotWrite) {
  const QString head = gpxDeclaration() + gpxOpeningTag();
  const QString foot = gpxClosingTag();
  const QByteArray written = gpxFileBytes(head, waypointBlock({"A", "1", "2"}), foot);
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
                              (head + foot).toUtf8()};
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
