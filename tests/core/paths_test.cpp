#include "paths.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

TEST(Paths, JoinsWithOneSeparator) {
  EXPECT_EQ(inFolder(u"/opt/skelvor"_s, u"VOK.gpx"_s), u"/opt/skelvor/VOK.gpx");
  EXPECT_EQ(inFolder(u"/"_s, u"VOK.gpx"_s), u"/VOK.gpx");
  EXPECT_EQ(inFolder(u"C:/"_s, u"VOK.gpx"_s), u"C:/VOK.gpx");
  EXPECT_EQ(inFolder(u"C:\\"_s, u"VOK.gpx"_s), u"C:\\VOK.gpx");
  EXPECT_EQ(inFolder(u"C:/Skelvor"_s, u"Sample Navaids.csv"_s), u"C:/Skelvor/Sample Navaids.csv");
}

}  // namespace
}  // namespace skelvor
