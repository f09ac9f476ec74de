#include "gpx.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

namespace skelvor {
namespace {

TEST(GpxHead, DeclarationIsOneLineEndingInCrLf) {
  EXPECT_EQ(gpxDeclaration().toLatin1(), QByteArray("<?xml version=\"1.0\"?>\r\n"));
}

TEST(GpxHead, OpeningTagCarriesTheFiveAttributesInOrder) {
  const QByteArray tag = gpxOpeningTag().toLatin1();
  EXPECT_TRUE(tag.startsWith("<gpx creator=\"GPS Visualizer https://")) << tag.constData();
  const QByteArray rest =
      "\" version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/0 http://www.topografix.com/GPX/1/0/gpx.xsd\">";
  EXPECT_TRUE(tag.endsWith(rest)) << tag.constData();
  EXPECT_FALSE(tag.contains('\r'));
  EXPECT_FALSE(tag.contains('\n'));
}

TEST(GpxHead, ClosingTagIsBare) { EXPECT_EQ(gpxClosingTag(), u"</gpx>"); }

}  // namespace
}  // namespace skelvor
