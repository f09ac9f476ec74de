#include "countryrows.h"

#include "fixfile.h"
#include "listtext.h"
#include "qt_printing.h"
#include "testrows.h"

#include <QCollator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

// A row as the list shows it: what the user reads, 120 spaces, then the coordinates behind bars.
QString expectedRow(QStringView visible, QStringView latitude, QStringView longitude) {
  return visible.toString() + QString(120, u' ') + u'|' + latitude.toString() + u'|' + longitude.toString();
}

// The rows of `code` among `lines`, in file order, as the list shows them.
QStringList rowsOf(const FixLines& lines, QStringView code, QStringView kind) {
  const CountryRows rows(lines, code, kind);
  QStringList items;
  for (qsizetype place = 0; place < rows.size(); ++place) items.append(rows.item(place));
  return items;
}

// An empty first line keeps a byte-order mark at the start of the first of `lines` as a character of it.
QStringList rowsOf(const QStringList& lines, QStringView code, QStringView kind) {
  return rowsOf(FixLines('\n' + lines.join(u'\n').toUtf8()), code, kind);
}

// Field 1 of a line, or the empty text.
QString codeOf(QStringView line) { return line.split(u';').value(1).toString(); }

// The row of one fix line, if it gives one.
std::optional<QString> resultRow(QStringView line, QStringView kind) {
  const QStringList rows = rowsOf(QStringList{line.toString()}, codeOf(line), kind);
  if (rows.isEmpty()) return std::nullopt;
  return rows.constFirst();
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
  EXPECT_EQ(rowsOf(lines, u"LF", u"WPT"),
            QStringList({expectedRow(u"ZULU", u"1", u"2"), expectedRow(u"ALPHA", u"3", u"4")}));
}

TEST(ResultRows, EmptyCodePicksLinesWithEmptyFieldOne) {
  const QStringList lines = {u"W1;;1;2"_s, u"W2;LF;1;2"_s, u""_s, u"no fields"_s, u"W3;;5;6"_s};
  EXPECT_EQ(rowsOf(lines, u"", u"WPT"), QStringList({expectedRow(u"W1", u"1", u"2"), expectedRow(u"W3", u"5", u"6")}));
}

TEST(ResultRows, ShortLineCostsOnlyItsOwnRow) {
  const QStringList lines = {u"W1;LF;1"_s, u"W2;LF;3;4"_s};
  EXPECT_EQ(rowsOf(lines, u"LF", u"WPT"), QStringList({expectedRow(u"W2", u"3", u"4")}));
}

TEST(ResultRows, EqualLinesGiveEqualRows) {
  const QStringList lines = {u"W1;LF;1;2"_s, u"W1;LF;1;2"_s};
  EXPECT_EQ(rowsOf(lines, u"LF", u"WPT"), QStringList(2, expectedRow(u"W1", u"1", u"2")));
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
    "A&B;LF;45;1",
    "A<B;LF;45;1",
    "A>B;LF;45;1",
    "A\"B;LF;45;1",
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

// The waypoint of a row's whole text as the GPX file writes it: the coordinates are the last two pieces between bars,
// read from the end of the text; the name is what stands before the first space.
struct Waypoint {
  QString name, latitude, longitude;
  bool operator==(const Waypoint&) const = default;
};
void PrintTo(const Waypoint& w, std::ostream* os) {
  *os << '{' << w.name.toStdString() << ", " << w.latitude.toStdString() << ", " << w.longitude.toStdString() << '}';
}
Waypoint waypointOfText(const QString& row) {
  const QStringList bars = row.split(u'|');
  const QString readable = bars.mid(0, bars.size() - 2).join(u'|');
  return {readable.first(readable.contains(u' ') ? readable.indexOf(u' ') : readable.size()), bars.at(bars.size() - 2),
          bars.constLast()};
}
Waypoint waypointOf(const CountryRows& rows, qsizetype place) {
  const WaypointText fields = rows.waypoint(place);
  Waypoint waypoint;
  FixLines::decode(fields.name, rows.isUtf8(), waypoint.name);
  FixLines::decode(fields.latitude, rows.isUtf8(), waypoint.latitude);
  FixLines::decode(fields.longitude, rows.isUtf8(), waypoint.longitude);
  return waypoint;
}

struct WaypointCase {
  const char* name;
  const char16_t* kind;
  const char16_t* line;
  Waypoint waypoint;
};

class RowWaypoint : public ::testing::TestWithParam<WaypointCase> {};

// A bar in a coordinate moves the coordinates the GPX file writes, as splitting the row's text from its end does.
TEST_P(RowWaypoint, IsTheNameAndTheLastTwoPiecesBetweenBars) {
  const WaypointCase& c = GetParam();
  const CountryRows rows(FixLines(QString::fromUtf16(c.line).toUtf8()), u"LF", c.kind);
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(waypointOf(rows, 0), c.waypoint);
  EXPECT_EQ(waypointOfText(rows.item(0)), c.waypoint);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowWaypoint,
    ::testing::Values(
        WaypointCase{"Plain", u"NAV", u"VOR;LF; BTZ ;x;43.47;-1.52;x;x;x;BIARRITZ", {u"BTZ"_s, u"43.47"_s, u"-1.52"_s}},
        WaypointCase{"TwoWords", u"APT", u" AP 1 ;LF;A;X;4;5;x;x;T", {u"AP"_s, u"4"_s, u"5"_s}},
        WaypointCase{"NoIdent", u"NAV", u"VOR;LF;  ;x;4;5;x;x;x;N", {u""_s, u"4"_s, u"5"_s}},
        WaypointCase{"LeadingSpace", u"WPT", u" W1;LF;4;5", {u""_s, u"4"_s, u"5"_s}},
        WaypointCase{"BarInName", u"WPT", u"A|B C;LF;4;5", {u"A|B"_s, u"4"_s, u"5"_s}},
        WaypointCase{"BarInLatitude", u"WPT", u"W;LF;4|5;6", {u"W"_s, u"5"_s, u"6"_s}},
        WaypointCase{"BarInLongitude", u"WPT", u"W;LF;4;5|6", {u"W"_s, u"5"_s, u"6"_s}},
        WaypointCase{"BarsInLongitude", u"WPT", u"W;LF;4;5|6|7", {u"W"_s, u"6"_s, u"7"_s}},
        WaypointCase{"BarsInBoth", u"WPT", u"W;LF;1|2;3|4", {u"W"_s, u"3"_s, u"4"_s}},
        WaypointCase{"BarLast", u"WPT", u"W;LF;4;5|", {u"W"_s, u"5"_s, u""_s}},
        WaypointCase{"BarFirstInLongitude", u"WPT", u"W;LF;4;|6", {u"W"_s, u""_s, u"6"_s}},
        WaypointCase{"Empty", u"WPT", u"W;LF;;", {u"W"_s, u""_s, u""_s}},
        WaypointCase{"Accented", u"APT", u"\u00C9V;LF;A;;4;5;x;x;T", {u"\u00C9V"_s, u"4"_s, u"5"_s}}),
    kCaseName);

// A file's lines split plainly: the text decoded whole, then cut at CR LF, LF and CR.
QStringList plainLines(const QByteArray& bytes) {
  QString text = decodeFixText(bytes);
  text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
  if (text.endsWith(u'\n')) text.chop(1);
  return text.isEmpty() ? QStringList() : text.split(u'\n');
}

// The odd lines with every kind of line end, with and without a byte-order mark, and as Windows-1252, and generated
// files: every country's rows of every kind are those of their lines one by one, with the waypoints of their texts.
TEST(CountryRows, AreTheRowsOfTheirLinesWithTheWaypointsOfTheirTexts) {
  QList<QByteArray> files = oddFiles();
  files += generatedFixFiles();
  qsizetype checked = 0;
  for (const QByteArray& bytes : files) {
    const FixLines lines(bytes);
    const QStringList texts = plainLines(bytes);
    QStringList codes = collectCodes(lines);
    codes.append(u"absent"_s);
    for (const QString& code : codes)
      for (const QString& kind : {u"NAV"_s, u"WPT"_s, u"APT"_s, u"nav"_s}) {
        QStringList expected;
        for (const QString& line : texts)
          if (line.contains(u';') && codeOf(line) == code)
            if (const std::optional<QString> row = resultRow(line, kind)) expected.append(*row);
        const CountryRows rows(lines, code, kind);
        QStringList shown;
        for (qsizetype i = 0; i < rows.size(); ++i) {
          shown.append(rows.item(i));
          ASSERT_EQ(waypointOf(rows, i), waypointOfText(shown.constLast())) << shown.constLast();
        }
        ASSERT_EQ(shown, expected) << bytes.toPercentEncoding().toStdString() << " code " << code << " kind " << kind;
        ASSERT_EQ(CountryRows::count(lines, code, kind), rows.size());
        checked += rows.size();
      }
  }
  EXPECT_GT(checked, 1000);
}

// Lines whose columns take every length from 0 to 20, and whose codes have one, two or three letters; the last line
// has no line end. Their codes and rows are those their columns say.
TEST(CountryRows, ReadColumnsOfEveryLength) {
  QStringList lines;
  QStringList codes;
  QStringList expected;
  for (int ident = 0; ident <= 20; ++ident)
    for (int digits = 1; digits <= 17; ++digits) {
      const QString code(1 + (ident + digits) % 3, u'L');
      const QString latitude(digits, u'4');
      lines.append(QString(ident, u'W') + u';' + code + u';' + latitude + u";-1.25"_s);
      if (!codes.contains(code)) codes.append(code);
      if (code == u"LL") expected.append(expectedRow(QString(ident, u'W'), latitude, u"-1.25"));
    }
  QByteArray bytes = lines.constFirst().toUtf8();
  for (qsizetype i = 1; i < lines.size(); ++i) bytes += (i % 2 == 0 ? "\n" : "\r\n") + lines.at(i).toUtf8();
  const FixLines fixLines(bytes);
  EXPECT_EQ(collectCodes(fixLines), codes);
  EXPECT_EQ(rowsOf(fixLines, u"LL", u"WPT"), expected);
}

// ---- List order

// The rule the result list follows, applied plainly: whole rows compared by the locale's collator with letter case
// ignored, equal rows in file order.
TEST(CountryRows, SortAsTheCollatorComparesTheirWholeRows) {
  QString text;
  for (const GeneratedRow& row : generatedRows(3000))
    text += row.visible + u";LF;"_s + (row.plain ? u"1;2"_s : row.latitude + u';' + row.longitude) + u"\r\n"_s;
  const FixLines lines(text.toUtf8());
  for (const char* name : {"en_US", "fr_FR", "C"}) {
    const QLocale locale{QLatin1String(name)};
    QStringList rows = rowsOf(lines, u"LF", u"WPT");
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(rows.begin(), rows.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    const CountryRows sorted(lines, u"LF", u"WPT", ListOrder(locale));
    QStringList shown;
    for (qsizetype place = 0; place < sorted.size(); ++place) shown.append(sorted.item(place));
    EXPECT_EQ(shown, rows) << name;
  }
}

// ---- Find

// The indices that a match covers, range by range.
std::vector<qsizetype> indicesOf(const Matches& matches) {
  std::vector<qsizetype> indices;
  for (const auto& [first, last] : matches.ranges) {
    EXPECT_LE(first, last);
    for (qsizetype index = first; index <= last; ++index) indices.push_back(index);
  }
  return indices;
}

// Waypoint lines of one country, whose rows stay in file order.
CountryRows waypoints(const QStringList& lines) {
  return CountryRows(FixLines(lines.join(u'\n').toUtf8()), u"LF", u"WPT");
}

const CountryRows& sampleRows() {
  static const CountryRows rows = waypoints({
      u"AB;LF;48.5;2.25"_s,               // 0
      u"xAbx (LF) Paris;LF;49.1;-1.5"_s,  // 1
      u"aB;LF;10;20"_s,                   // 2
      u"ab  ---  Lima;LF;-12;-77"_s,      // 3
      u"CD;LF;0;0"_s,                     // 4
      u"ZÜRICH;LF;47.4;8.5"_s,            // 5
      u"Straße;LF;1;2"_s,                 // 6
      u"\u212A;LF;3;4"_s,                 // 7 Kelvin sign, upper case already
      u"ſıµ;LF;5;6"_s,                    // 8 upper case SIΜ, the last a Greek capital mu
  });
  return rows;
}

struct FindCase {
  QString search;
  std::vector<qsizetype> indices;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << '"' << c.search.toStdString() << '"'; }

class FindInRows : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindInRows, SelectsRowsContainingTheUpperCasedSearch) {
  const Matches matches = sampleRows().find(GetParam().search);
  EXPECT_EQ(indicesOf(matches), GetParam().indices);
  EXPECT_EQ(matches.count, static_cast<qsizetype>(GetParam().indices.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Selection, FindInRows,
    ::testing::Values(FindCase{u"ab"_s, {0, 1, 2, 3}}, FindCase{u"AB "_s, {0, 2, 3}}, FindCase{u"aB  -"_s, {3}},
                      FindCase{u""_s, {0, 1, 2, 3, 4, 5, 6, 7, 8}}, FindCase{u" "_s, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                      FindCase{u"|"_s, {0, 1, 2, 3, 4, 5, 6, 7, 8}}, FindCase{u"|-1"_s, {1, 3}},
                      FindCase{u".5|"_s, {0}}, FindCase{u"-1.5"_s, {1}}, FindCase{u"zürich"_s, {5}},
                      FindCase{u"STRASSE"_s, {6}}, FindCase{u"straße"_s, {6}}, FindCase{u"l\u0131ma"_s, {3}},
                      FindCase{u"k"_s, {}}, FindCase{u"\u212A"_s, {7}}, FindCase{u"sIμ"_s, {8}}, FindCase{u"sim"_s, {}},
                      FindCase{u"nowhere"_s, {}},
                      // The run of 120 spaces before the coordinates, met by shorter runs.
                      FindCase{u"b   |"_s, {}}, FindCase{u"ab   "_s, {0, 2}}, FindCase{u"   |-1"_s, {3}},
                      FindCase{QString(120, u' ') + u"|48"_s, {0}}, FindCase{QString(121, u' '), {}}));

TEST(FindRows, MergesConsecutiveRowsIntoRanges) {
  const CountryRows rows = waypoints(
      {u"A1;LF;;"_s, u"A2;LF;;"_s, u"B3;LF;;"_s, u"A4;LF;;"_s, u"B5;LF;;"_s, u"A6;LF;;"_s, u"A7;LF;;"_s, u"A8;LF;;"_s});
  const Matches matches = rows.find(u"a");
  EXPECT_EQ(matches.ranges, (RowRanges{{0, 1}, {3, 3}, {5, 7}}));
  EXPECT_EQ(matches.count, 6);
}

TEST(FindRows, HandlesMoreRowsThanSixteenBitsCount) {
  QStringList lines(100000, u"LFPG;LF;49;2"_s);
  lines[70000] = u"EGLL;LF;51;0"_s;
  const Matches matches = waypoints(lines).find(u"lfpg");
  EXPECT_EQ(matches.ranges, (RowRanges{{0, 69999}, {70001, 99999}}));
  EXPECT_EQ(matches.count, 99999);
}

TEST(FindRows, FindsNothingInNoRows) {
  const Matches matches = CountryRows().find(u"");
  EXPECT_TRUE(matches.ranges.isEmpty());
  EXPECT_EQ(matches.count, 0);
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
