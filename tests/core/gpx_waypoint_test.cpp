#include "gpx.h"

#include "countryrows.h"
#include "gpxdocument.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

constexpr auto kCaseName = [](const auto& param) { return std::string(param.param.name); };

// The block of one waypoint whose three values are the same bytes of a fix file.
QByteArray blockOf(QByteArrayView value, bool utf8) {
  QByteArray block;
  appendWaypointBlock(block, {value, value, value}, utf8);
  return block;
}

struct EscapeCase {
  const char* name;
  QByteArray value;
  bool utf8;
  QByteArray written;
};

class WaypointValue : public ::testing::TestWithParam<EscapeCase> {};

// Every value is written as XML text in UTF-8, in the name and in both attributes alike.
TEST_P(WaypointValue, IsWrittenAsUtf8XmlText) {
  const EscapeCase& c = GetParam();
  const QByteArray& w = c.written;
  EXPECT_EQ(blockOf(c.value, c.utf8),
            "\r\n<wpt lat=\"" + w + "\" lon=\"" + w + "\">\r\n <name>" + w + "</name>\r\n</wpt>");
}

INSTANTIATE_TEST_SUITE_P(
    Gpx, WaypointValue,
    ::testing::Values(EscapeCase{"Plain", "LFPG", true, "LFPG"}, EscapeCase{"Empty", "", true, ""},
                      EscapeCase{"Entities", "A&B<C>\"D\"'", true, "A&amp;B&lt;C&gt;&quot;D&quot;'"},
                      EscapeCase{"EntityTwice", "&amp;", true, "&amp;amp;"},
                      EscapeCase{"ForbiddenControls",
                                 QByteArray("a\x01"
                                            "b\x08"
                                            "c\x1F"
                                            "d\0e",
                                            10),
                                 true, "abcde"},
                      // A reader would give a raw tab or line end in an attribute back as a space.
                      EscapeCase{"Blanks", "t\tl\nc\r", true, "t&#9;l&#10;c&#13;"},
                      EscapeCase{"NonCharacters", "x\xEF\xBF\xBEy\xEF\xBF\xBF", true, "xy"},
                      EscapeCase{"Utf8KeptAsItIs", "Besan\xC3\xA7on \xC3\x86r\xC3\xB8 \xF0\x9F\x98\x80&", true,
                                 "Besan\xC3\xA7on \xC3\x86r\xC3\xB8 \xF0\x9F\x98\x80&amp;"},
                      EscapeCase{"ByteOrderMarkAndDelete", "\xEF\xBB\xBF\x7F\xC2\x85", true,
                                 "\xEF\xBB\xBF\x7F\xC2\x85"},
                      EscapeCase{"Windows1252Latin1", "\xE9\xEF\xFF", false, "\xC3\xA9\xC3\xAF\xC3\xBF"},
                      EscapeCase{"Windows1252Special", "\x80\x9F\x99", false, "\xE2\x82\xAC\xC5\xB8\xE2\x84\xA2"},
                      EscapeCase{"Windows1252Undefined", "\x81\x8D", false, "\xC2\x81\xC2\x8D"},
                      EscapeCase{"Windows1252Entities", "\xE9&<", false, "\xC3\xA9&amp;&lt;"}),
    kCaseName);

TEST(GpxWaypointBlock, IsThreeLinesAfterALineEnd) {
  QByteArray body = "before";
  appendWaypointBlock(body, {"LFPG", "49.009722", "2.547778"}, true);
  EXPECT_EQ(body, "before\r\n<wpt lat=\"49.009722\" lon=\"2.547778\">\r\n <name>LFPG</name>\r\n</wpt>");
}

TEST(GpxDocument, AppendsTheSelectedRowsInListOrder) {
  const CountryRows rows(FixLines("C;LF;5;6\nB;LF;3;4\nno waypoint\nA;LF;1;2\n\xC3\x89 x;LF;7;8"), u"LF", u"WPT",
                         ListOrder(QLocale::c()));
  GpxDocument document;
  document.restoreCORPS("kept");
  document.append(rows, {true, false, true, true});
  EXPECT_EQ(document.CORPS(),
            "kept"
            "\r\n<wpt lat=\"1\" lon=\"2\">\r\n <name>A</name>\r\n</wpt>"
            "\r\n<wpt lat=\"5\" lon=\"6\">\r\n <name>C</name>\r\n</wpt>"
            "\r\n<wpt lat=\"7\" lon=\"8\">\r\n <name>\xC3\x89</name>\r\n</wpt>");
}

// The bytes of a file with the waypoints of `lines`, every row of country LF of a waypoints file.
QByteArray fileOf(const QByteArray& lines) {
  const CountryRows rows(FixLines(lines), u"LF", u"WPT", ListOrder(QLocale::c()));
  GpxDocument document;
  document.append(rows, std::vector<bool>(static_cast<std::size_t>(rows.size()), true));
  return document.bytes();
}

TEST(GpxFileBytes, OneWaypointMakesFiveLines) {
  const QByteArray expected = "<?xml version=\"1.0\"?>\r\n" + gpxOpeningTag().toUtf8() +
                              "\r\n"
                              "<wpt lat=\"49.009722\" lon=\"2.547778\">\r\n"
                              " <name>LFPG</name>\r\n"
                              "</wpt></gpx>\r\n";
  EXPECT_EQ(fileOf("LFPG;LF;49.009722;2.547778"), expected);
}

TEST(GpxFileBytes, TwoWaypointsMakeEightLinesInListOrder) {
  const QByteArray expected = "<?xml version=\"1.0\"?>\r\n" + gpxOpeningTag().toUtf8() +
                              "\r\n"
                              "<wpt lat=\"\" lon=\"-0.7\">\r\n"
                              " <name></name>\r\n"
                              "</wpt>\r\n"
                              "<wpt lat=\"49.009722\" lon=\"2.547778\">\r\n"
                              " <name>LFPG</name>\r\n"
                              "</wpt></gpx>\r\n";
  EXPECT_EQ(fileOf("LFPG;LF;49.009722;2.547778\r\n BOR;LF;;-0.7\r\n"), expected);
}

TEST(GpxFileBytes, AreUtf8WithoutByteOrderMarkWhateverTheFixFile) {
  for (const QByteArray& lines : {QByteArray("Z\xC3\xBCrich&Co;LF;47.4;8.5"), QByteArray("Z\xFCrich&Co;LF;47.4;8.5"),
                                  QByteArray("\xEF\xBB\xBFZ\xC3\xBCrich&Co;LF;47.4;8.5")}) {
    const QByteArray bytes = fileOf(lines);
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\"?>\r\n"));
    EXPECT_TRUE(bytes.contains(" <name>Z\xc3\xbcrich&amp;Co</name>\r\n")) << bytes.toStdString();
  }
}

}  // namespace
}  // namespace skelvor
