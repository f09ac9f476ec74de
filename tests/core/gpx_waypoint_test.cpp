#include "gpx.h"
#include "gpxreference.h"

#include "gpxdocument.h"

#include "qt_printing.h"
#include "testrows.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

struct FieldsCase {
  QString row;
  QString name, latitude, longitude;
};

void PrintTo(const FieldsCase& c, std::ostream* os) { *os << c.row.trimmed().toStdString(); }

class WaypointFieldsOfRow : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(WaypointFieldsOfRow, TakesNameAndCoordinates) {
  const auto fields = waypointFields(GetParam().row);
  ASSERT_TRUE(fields.has_value());
  EXPECT_EQ(fields->name, GetParam().name);
  EXPECT_EQ(fields->latitude, GetParam().latitude);
  EXPECT_EQ(fields->longitude, GetParam().longitude);
}

INSTANTIATE_TEST_SUITE_P(
    Gpx, WaypointFieldsOfRow,
    ::testing::Values(FieldsCase{testRow(u"LFPG", u"49.009722", u"2.547778"), u"LFPG"_s, u"49.009722"_s, u"2.547778"_s},
                      FieldsCase{testRow(u"BOR (LF) 114.60", u"44.8", u"-0.7"), u"BOR"_s, u"44.8"_s, u"-0.7"_s},
                      FieldsCase{testRow(u" LFXX  ---  Nowhere", u"1", u"2"), u""_s, u"1"_s, u"2"_s},
                      FieldsCase{testRow(u"LFPO", u"", u""), u"LFPO"_s, u""_s, u""_s},
                      FieldsCase{testRow(u"A|B (LF) x|y", u"45.5", u"6.25"), u"A|B"_s, u"45.5"_s, u"6.25"_s},
                      FieldsCase{u"NOSPACE|3|4"_s, u"NOSPACE"_s, u"3"_s, u"4"_s},
                      FieldsCase{u"|3|4"_s, u""_s, u"3"_s, u"4"_s},
                      FieldsCase{testRow(u"Zürich", u"47.464722", u"8.549167"), u"Zürich"_s, u"47.464722"_s,
                                 u"8.549167"_s}));

TEST(GpxWaypointFields, NeedTwoBars) {
  for (const QString& row : {u""_s, u"LFPG"_s, u"LFPG  |49.0"_s, u"|"_s, u"|49.0"_s, u"49.0|"_s})
    EXPECT_FALSE(waypointFields(row).has_value()) << row;
}

struct EscapeCase {
  QString text;
  QString escaped;
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.text.toUtf8().toPercentEncoding().toStdString(); }

class XmlEscaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(XmlEscaping, WritesEntitiesAndDropsForbiddenCharacters) {
  EXPECT_EQ(xmlEscaped(GetParam().text), GetParam().escaped);
}

// A string of the given UTF-16 code units, lone surrogates and NUL included.
QString units(std::initializer_list<char16_t> codes) {
  return QString::fromUtf16(std::data(codes), static_cast<qsizetype>(codes.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Gpx, XmlEscaping,
    ::testing::Values(EscapeCase{u"LFPG"_s, u"LFPG"_s}, EscapeCase{u""_s, u""_s}, EscapeCase{u"A&B"_s, u"A&amp;B"_s},
                      EscapeCase{u"<X>"_s, u"&lt;X&gt;"_s}, EscapeCase{u"\"Q\""_s, u"&quot;Q&quot;"_s},
                      EscapeCase{u"L'Alpe"_s, u"L'Alpe"_s}, EscapeCase{u"&amp;"_s, u"&amp;amp;"_s},
                      EscapeCase{units({u'a', 0x01, u'b', 0x08, u'c', 0x1F, u'd', 0x00, u'e'}), u"abcde"_s},
                      EscapeCase{u"t\tl\nc\r"_s, u"t&#9;l&#10;c&#13;"_s},
                      EscapeCase{units({u'x', 0xFFFE, u'y', 0xFFFF}), u"xy"_s},
                      EscapeCase{units({u'a', 0xD800, u'b'}), u"ab"_s},
                      EscapeCase{units({u'a', 0xDC00, u'b', 0xD800}), u"ab"_s},
                      EscapeCase{units({0xDC00, 0xD800}), u""_s}, EscapeCase{u"😀&"_s, u"😀&amp;"_s},
                      EscapeCase{u"Besançon Ærø"_s, u"Besançon Ærø"_s}, EscapeCase{u"\x7f\x85"_s, u"\x7f\x85"_s}));

TEST(GpxWaypointBlock, IsThreeLinesAfterALineEnd) {
  EXPECT_EQ(waypointBlock({u"LFPG"_s, u"49.009722"_s, u"2.547778"_s}),
            u"\r\n<wpt lat=\"49.009722\" lon=\"2.547778\">\r\n <name>LFPG</name>\r\n</wpt>");
}

TEST(GpxWaypointBlock, EscapesEveryValue) {
  EXPECT_EQ(waypointBlock({u"A&B"_s, u"<1"_s, u"\"2\x01"_s}),
            u"\r\n<wpt lat=\"&lt;1\" lon=\"&quot;2\">\r\n <name>A&amp;B</name>\r\n</wpt>");
  // A tab or a line end alone in a value is written as a reference: raw, a reader would give it back as a space.
  EXPECT_EQ(waypointBlock({u"T\tB"_s, u"4\t5"_s, u"1\r\n2"_s}),
            u"\r\n<wpt lat=\"4&#9;5\" lon=\"1&#13;&#10;2\">\r\n <name>T&#9;B</name>\r\n</wpt>");
}

TEST(GpxWaypointBlock, LeavesEmptyValuesEmpty) {
  EXPECT_EQ(waypointBlock({}), u"\r\n<wpt lat=\"\" lon=\"\">\r\n <name></name>\r\n</wpt>");
}

TEST(GpxWaypointBlock, AppendsBehindTheBodySoFar) {
  QString body = waypointBlock({u"A"_s, u"1"_s, u"2"_s});
  appendWaypointBlock(body, WaypointFields{u"<B>"_s, u"3"_s, u"4"_s});
  EXPECT_EQ(body, waypointBlock({u"A"_s, u"1"_s, u"2"_s}) + waypointBlock({u"<B>"_s, u"3"_s, u"4"_s}));
}

TEST(GpxWaypointBlock, FromARowIsTheBlockOfItsFields) {
  for (const QString& row : {testRow(u"A&B (K1) Name", u"45.5", u"-1.25"), testRow(u"", u"1", u"2"), u"x|y|z"_s,
                             testRow(u"T\tab", u"4\t5", u"1\r\n2")}) {
    QString body = u"before"_s;
    EXPECT_TRUE(appendRowWaypointBlock(body, row));
    EXPECT_EQ(body, u"before"_s + waypointBlock(waypointFields(row).value()));
  }
  QString body = u"before"_s;
  EXPECT_FALSE(appendRowWaypointBlock(body, u"no bars|"));
  EXPECT_EQ(body, u"before"_s);
}

TEST(GpxWaypointBlock, OfTheSelectedRowsInListOrder) {
  const CountryRows rows(FixLines("C;LF;5;6\nB;LF;3;4\nno waypoint\nA;LF;1;2\n\xC3\x89;LF;7;8"), u"LF", u"WPT",
                         ListOrder(QLocale::c()));
  GpxDocument document;
  document.restoreCORPS("kept");
  document.append(rows, {true, false, true, true});
  EXPECT_EQ(document.CORPS(),
            "kept" + (waypointBlock({u"A"_s, u"1"_s, u"2"_s}) + waypointBlock({u"C"_s, u"5"_s, u"6"_s}) +
                      waypointBlock({u"\u00C9"_s, u"7"_s, u"8"_s}))
                         .toUtf8());
}

// The bytes of a file with one block per row, head and foot as the window builds them.
QByteArray fileOf(const QStringList& rows) {
  QString body;
  for (const QString& row : rows) appendWaypointBlock(body, waypointFields(row).value());
  return gpxFileBytes(gpxDeclaration() + gpxOpeningTag(), body, gpxClosingTag());
}

TEST(GpxFileBytes, OneWaypointMakesFiveLines) {
  const QByteArray expected = "<?xml version=\"1.0\"?>\r\n" + gpxOpeningTag().toUtf8() +
                              "\r\n"
                              "<wpt lat=\"49.009722\" lon=\"2.547778\">\r\n"
                              " <name>LFPG</name>\r\n"
                              "</wpt></gpx>\r\n";
  EXPECT_EQ(fileOf({testRow(u"LFPG  ---  Roissy", u"49.009722", u"2.547778")}), expected);
}

TEST(GpxFileBytes, TwoWaypointsMakeEightLinesInRowOrder) {
  const QByteArray expected = "<?xml version=\"1.0\"?>\r\n" + gpxOpeningTag().toUtf8() +
                              "\r\n"
                              "<wpt lat=\"49.009722\" lon=\"2.547778\">\r\n"
                              " <name>LFPG</name>\r\n"
                              "</wpt>\r\n"
                              "<wpt lat=\"\" lon=\"-0.7\">\r\n"
                              " <name></name>\r\n"
                              "</wpt></gpx>\r\n";
  EXPECT_EQ(fileOf({testRow(u"LFPG", u"49.009722", u"2.547778"), testRow(u" BOR (LF) 114.60", u"", u"-0.7")}),
            expected);
}

TEST(GpxFileBytes, AreUtf8WithoutByteOrderMark) {
  const QByteArray bytes = fileOf({testRow(u"Zürich&Co", u"47.4", u"8.5"), testRow(u"😀", u"1", u"2")});
  EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\"?>\r\n"));
  EXPECT_TRUE(bytes.contains(" <name>Z\xc3\xbcrich&amp;Co</name>\r\n"));
  EXPECT_TRUE(bytes.contains(" <name>\xf0\x9f\x98\x80</name>\r\n"));
}

TEST(GpxFileBytes, EndWithOneLineEndAfterTheFoot) {
  EXPECT_EQ(gpxFileBytes(u"H"_s, u""_s, u"F"_s), QByteArray("HF\r\n"));
}

}  // namespace
}  // namespace skelvor
