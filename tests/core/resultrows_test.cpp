#include "resultrows.h"

#include "fixfile.h"
#include "gpx.h"
#include "qt_printing.h"
#include "testrows.h"

#include <gtest/gtest.h>

#include <cstring>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

// A row as the list stores it: what the user reads, 120 spaces, then the coordinates behind bars.
QString expectedRow(QStringView visible, QStringView latitude, QStringView longitude) {
  return visible.toString() + QString(120, u' ') + u'|' + latitude.toString() + u'|' + longitude.toString();
}

TEST(ResultRow, PutsTheCoordinatesExactly120SpacesAfterTheVisibleText) {
  const auto row = resultRow(u"K1;LF; AB ;x;45.5;-1.25;x;x;x; Name ", u"NAV");
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->size(), 12 + 120 + 11);
  EXPECT_EQ(row->first(12), u"AB (K1) Name");
  EXPECT_EQ(QStringView(*row).sliced(12, 120).count(u' '), 120);
  EXPECT_EQ(row->sliced(132), u"|45.5|-1.25");
}

// ---- One line

struct RowCase {
  const char* name;
  const char16_t* kind;
  const char16_t* line;
  const char16_t* visible;  // nullptr: no row
  const char16_t* latitude = u"45.5";
  const char16_t* longitude = u"-1.25";
};

class ResultRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(ResultRow, BuildsTheRowOfItsKind) {
  const RowCase& c = GetParam();
  const std::optional<QString> row = resultRow(c.line, c.kind);
  if (c.visible == nullptr) {
    EXPECT_FALSE(row.has_value()) << *row;
  } else {
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(*row, expectedRow(c.visible, c.latitude, c.longitude));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Navaid, ResultRow,
    ::testing::Values(
        RowCase{"Example", u"NAV", u"K1;LF; AB ;x;45.5;-1.25;x;x;x; Name ", u"AB (K1) Name"},
        RowCase{"NineColumns", u"NAV", u"K1;LF; AB ;x;45.5;-1.25;x;x;x", nullptr},
        RowCase{"ExtraColumnsIgnored", u"NAV", u"K1;LF; AB ;x;45.5;-1.25;x;x;x; Name ;more;x", u"AB (K1) Name"},
        RowCase{"TypeUntrimmed", u"NAV", u" VOR ;LF;GAI;115.80;45.5;-1.25;600;0;100;GAILLAC", u"GAI ( VOR ) GAILLAC"},
        RowCase{"TabsNotTrimmed", u"NAV", u"K1;LF;\tAB ;x;45.5;-1.25;x;x;x; Name\t", u"\tAB (K1) Name\t"},
        RowCase{"CoordinatesUntrimmed", u"NAV", u"K1;LF;AB;x; 45.5; -1.25 ;x;x;x;N", u"AB (K1) N", u" 45.5",
                u" -1.25 "}),
    kCaseName);

INSTANTIATE_TEST_SUITE_P(
    Waypoint, ResultRow,
    ::testing::Values(RowCase{"Example", u"WPT", u"WP1;LF;45.5;-1.25", u"WP1"},
                      RowCase{"IdentUntrimmed", u"WPT", u" WP1;LF;45.5;-1.25", u" WP1"},
                      RowCase{"LatitudeKeepsSpace", u"WPT", u"WP1;LF; 45.5;-1.25", u"WP1", u" 45.5"},
                      RowCase{"ThreeColumns", u"WPT", u"WP1;LF;45.5", nullptr},
                      RowCase{"ExtraColumnsNotInLongitude", u"WPT", u"WP1;LF;45.5;-1.25;x;y", u"WP1"}),
    kCaseName);

INSTANTIATE_TEST_SUITE_P(
    Airport, ResultRow,
    ::testing::Values(RowCase{"Example", u"APT", u"AP1;LF;A;XYZ;45.5;-1.25;x;x;Town", u"AP1 (XYZ) Town"},
                      RowCase{"Trimmed", u"APT", u" AP1 ;LF;A; XYZ ;45.5;-1.25;x;x; Town ", u"AP1 (XYZ) Town"},
                      RowCase{"NoCode", u"APT", u"AP1;LF;A;;45.5;-1.25;x;x;Town", u"AP1  ---  Town"},
                      RowCase{"AllSpaceCode", u"APT", u"AP1;LF;A;   ;45.5;-1.25;x;x;Town", u"AP1  ---  Town"},
                      RowCase{"LatitudeKeepsSpace", u"APT", u"AP1;LF;A;XYZ; 45.5;-1.25;x;x;Town", u"AP1 (XYZ) Town",
                              u" 45.5"},
                      RowCase{"EightColumns", u"APT", u"AP1;LF;A;XYZ;45.5;-1.25;x;x", nullptr},
                      RowCase{"LowerCaseA", u"APT", u"AP1;LF;a;XYZ;45.5;-1.25;x;x;Town", nullptr},
                      RowCase{"Heliport", u"APT", u"AP1;LF;H;XYZ;45.5;-1.25;x;x;Town", nullptr},
                      RowCase{"SpaceBeforeA", u"APT", u"AP1;LF; A;XYZ;45.5;-1.25;x;x;Town", nullptr}),
    kCaseName);

INSTANTIATE_TEST_SUITE_P(UnknownKind, ResultRow,
                         ::testing::Values(RowCase{"Empty", u"", u"WP1;LF;45.5;-1.25;x;x;x;x;x;x", nullptr},
                                           RowCase{"LowerCase", u"nav", u"K1;LF;AB;x;45.5;-1.25;x;x;x;Name", nullptr}),
                         kCaseName);

// ---- A country's rows

TEST(ResultRows, KeepsFileOrderOfTheExactCode) {
  const QStringList lines = {u"ZULU;LF;1;2"_s,  u"LOWER;lf;1;2"_s, u"LEAD; LF;1;2"_s, u"TRAIL;LF ;1;2"_s,
                             u"OTHER;EG;1;2"_s, u"EMPTY;;1;2"_s,   u"ALPHA;LF;3;4"_s};
  EXPECT_EQ(resultRows(lines, u"LF", u"WPT"),
            QStringList({expectedRow(u"ZULU", u"1", u"2"), expectedRow(u"ALPHA", u"3", u"4")}));
}

TEST(ResultRows, EmptyCodePicksLinesWithEmptyFieldOne) {
  const QStringList lines = {u"W1;;1;2"_s, u"W2;LF;1;2"_s, u""_s, u"no fields"_s, u"W3;;5;6"_s};
  EXPECT_EQ(resultRows(lines, u"", u"WPT"),
            QStringList({expectedRow(u"W1", u"1", u"2"), expectedRow(u"W3", u"5", u"6")}));
}

TEST(ResultRows, ShortLineCostsOnlyItsOwnRow) {
  const QStringList lines = {u"W1;LF;1"_s, u"W2;LF;3;4"_s};
  EXPECT_EQ(resultRows(lines, u"LF", u"WPT"), QStringList({expectedRow(u"W2", u"3", u"4")}));
}

TEST(ResultRows, EqualLinesGiveEqualRows) {
  const QStringList lines = {u"W1;LF;1;2"_s, u"W1;LF;1;2"_s};
  EXPECT_EQ(resultRows(lines, u"LF", u"WPT"), QStringList(2, expectedRow(u"W1", u"1", u"2")));
}

TEST(ResultRows, FromFixLinesAreTheRowsOfTheDecodedLines) {
  // A Windows-1252 file (the byte E9 is no UTF-8) and a UTF-8 one, each with codes that differ in case, accents and a
  // code that the file's encoding cannot write.
  const QByteArray latin = "N1;LF;A;X;1;2;x;x;Saint-\xC9tienne\r\nN2;lf;A;;3;4;x;x;T\r\nN3;\xC9G;A;Y;5;6;x;x;U\rN4;LF";
  const QByteArray utf8 =
      "\xEF\xBB\xBFW\xC3\xA9"
      "1;\xC3\x89G;1;2\nW2;LF;3;4\r\nW3;\xD0\x96;5;6\r\n";
  for (const QByteArray& bytes : {latin, utf8}) {
    const FixLines lines(bytes);
    const QStringList decoded = lines.toStringList();
    for (const QString& code : {u"LF"_s, u"lf"_s, u"\u00C9G"_s, u"\u0416"_s, u""_s, QString(QChar(0xD800))})
      for (const QString& kind : {u"NAV"_s, u"WPT"_s, u"APT"_s, u""_s})
        EXPECT_EQ(resultRows(lines, code, kind), resultRows(decoded, code, kind)) << code << " " << kind;
  }
}

// ---- Rows held compactly

// Lines that each kind reads in its own way: spaces around fields, "|" in names and coordinates, spaces and tabs in
// coordinates, empty fields, too few columns, airport column 2 other than "A", characters beyond Latin-1 and beyond
// the 16-bit range, and codes that differ from LF only in case or spaces.
constexpr const char* kOddLines[] = {
    "K1;LF; AB ;x;45.5;-1.25;x;x;x; Name ",
    "K|1;LF;A|B;x;4|5.5;-1.2|5;x;x;x;N|ame",
    "K1;LF;AB;x; 45 .5 ;- 1.25 ;x;x;x;Two Words",
    "\tK1;LF;\tAB\t;x;\t45.5;-1.25\t;x;x;x;\tName\t",
    ";LF;;;;;;;;",
    "K1;LF;AB;x;45.5;-1.25;x;x;x",
    "K1;LF;\xC3\x89vreux;x;45.5;-1.25;x;x;x;\xCE\xA9\xD0\x96 \xF0\x9D\x84\x9E",
    " WP 1 ;LF; 45.5 ; -1.25 ",
    "W|P;LF;4|5;-1|25",
    "WP;LF;45",
    "WP;LF;45;1;extra;|",
    "AP1;LF;A; XYZ ; 45.5 ;-1.25;x;x; Town Name ",
    "AP|1;LF;A;X|Y;4|5;-1|25;x;x;T|own",
    " AP1 ;LF;A;   ;45;1;x;x;",
    ";LF;A;;;;;;",
    "AP1;LF;H;X;45;1;x;x;T",
    "AP1;LF; A;X;45;1;x;x;T",
    "AP1;LF;A;X;45;1;x;x",
    "A\xC3\xA9roport;LF;A;\xC3\x89;45;1;x;x;Saint-\xC3\x89tienne",
    "W1;lf;45;1",
    "W1; LF;45;1;x;x;x;x;x;x",
    "W1;;A;;45;1;x;x;x;x",
};

// The odd lines with every kind of line end, with and without a byte-order mark, and as Windows-1252.
QList<QByteArray> oddFiles() {
  QList<QByteArray> files;
  for (const char* end : {"\r\n", "\n", "\r"}) {
    QByteArray bytes;
    for (const char* line : kOddLines) bytes += QByteArray(line) + end;
    files += {bytes, "\xEF\xBB\xBF" + bytes, bytes.chopped(static_cast<qsizetype>(std::strlen(end)))};
  }
  files.append(
      "\xC9vreux;LF;A; \xE9 ;45.5;-1.25;x;x;Saint-\xC9tienne\x80\r\nK1;LF;\xC9;x;4|5;1;x;x;x;\x80\xE9 \r\n"
      "W\xE9 ;LF; 45;1 ");
  return files;
}

// Whether the compact rows of `code` and `kind` are those resultRows gives, and give the same waypoint fields.
::testing::AssertionResult compactAsWhole(const FixLines& lines, const QString& code, const QString& kind) {
  const QStringList whole = resultRows(lines, code, kind);
  const CompactRows rows = compactRows(lines, code, kind);
  if (rows.size() != whole.size())
    return ::testing::AssertionFailure() << rows.size() << " compact rows for " << whole.size() << " rows";
  QString room;
  for (qsizetype i = 0; i < whole.size(); ++i) {
    if (rows.whole(i, room) != whole.at(i))
      return ::testing::AssertionFailure()
             << "row " << i << " written out as \"" << room << "\", not \"" << whole.at(i) << '"';
    const auto compact = waypointFields(rows.compact(i));
    const auto expected = waypointFields(whole.at(i));
    if (!compact || !expected || compact->name != expected->name || compact->latitude != expected->latitude ||
        compact->longitude != expected->longitude)
      return ::testing::AssertionFailure() << "row " << i << " \"" << whole.at(i) << "\" gives other waypoint fields";
  }
  return ::testing::AssertionSuccess();
}

TEST(CompactRows, AreTheRowsOfResultRowsWithTheirWaypointFields) {
  QList<QByteArray> files = oddFiles();
  files += generatedFixFiles();
  qsizetype checked = 0;
  for (const QByteArray& bytes : files) {
    const FixLines lines(bytes);
    QStringList codes = collectCodes(lines);
    codes.append(u"absent"_s);
    for (const QString& code : codes)
      for (const QString& kind : {u"NAV"_s, u"WPT"_s, u"APT"_s, u"nav"_s}) {
        ASSERT_TRUE(compactAsWhole(lines, code, kind))
            << bytes.toPercentEncoding().toStdString() << " code " << code << " kind " << kind;
        checked += resultRows(lines, code, kind).size();
      }
  }
  EXPECT_GT(checked, 1000);
}

// ---- Count label

TEST(ObjectsLabel, UsesOneWordForEveryCount) {
  EXPECT_EQ(objectsLabel(0), u"0 objects");
  EXPECT_EQ(objectsLabel(1), u"1 objects");
  EXPECT_EQ(objectsLabel(50000), u"50000 objects");
}

// ---- Type-ahead

struct TypeAheadCase {
  const char* name;
  QStringList items;
  const char16_t* typed;
  qsizetype index;
};

class TypeAheadMatch : public ::testing::TestWithParam<TypeAheadCase> {};

TEST_P(TypeAheadMatch, FindsTheFirstNameBeginningWithTheTypedText) {
  EXPECT_EQ(typeAheadMatch(GetParam().items, GetParam().typed), GetParam().index);
}

const QStringList kNames = {u"Finland"_s, u"France"_s, u"Gabon"_s};

INSTANTIATE_TEST_SUITE_P(
    CountryNames, TypeAheadMatch,
    ::testing::Values(TypeAheadCase{"OneLetter", kNames, u"f", 0}, TypeAheadCase{"TwoLetters", kNames, u"fr", 1},
                      TypeAheadCase{"NoMatch", kNames, u"frx", -1}, TypeAheadCase{"WholeName", kNames, u"FRANCE", 1},
                      TypeAheadCase{"MixedCase", kNames, u"fR", 1}, TypeAheadCase{"LastItem", kNames, u"gab", 2},
                      TypeAheadCase{"EmptyTextFirstItem", kNames, u"", 0},
                      TypeAheadCase{"LongerThanEveryName", kNames, u"Finlandia", -1},
                      TypeAheadCase{"InsideANameIsNoMatch", kNames, u"an", -1},
                      TypeAheadCase{"EmptyList", {}, u"f", -1},
                      TypeAheadCase{"Accented", {u"Egypt"_s, u"\u00C9ire"_s}, u"\u00E9i", 1}),
    kCaseName);

}  // namespace
}  // namespace skelvor
