#include "paths.h"

#include "qt_printing.h"

#include <QDir>

#include <gtest/gtest.h>

namespace skelvor {
namespace {

TEST(Paths, JoinsWithOneSeparatorOfThePlatform) {
  struct Case {
    const char* folder;
    const char* name;
    const char* path;  // with "/" where the platform's separator stands
  };
  for (const Case& c : {Case{"/opt/skelvor", "VOK.gpx", "/opt/skelvor/VOK.gpx"}, Case{"/", "VOK.gpx", "/VOK.gpx"},
                        Case{"C:/", "VOK.gpx", "C:/VOK.gpx"}, Case{"C:\\", "VOK.gpx", "C:/VOK.gpx"},
                        Case{"C:/Skelvor", "Sample Navaids.csv", "C:/Skelvor/Sample Navaids.csv"},
                        Case{"/opt/skelvor", ".gpx", "/opt/skelvor/.gpx"}}) {
    QString expected = QDir::toNativeSeparators(QString::fromLatin1(c.path));
    if (QDir::separator() == u'/' && QByteArray(c.folder).endsWith('\\'))
      expected = QString::fromLatin1(c.folder) + QString::fromLatin1(c.name);  // a backslash is a plain character here
    EXPECT_EQ(inFolder(QString::fromLatin1(c.folder), QString::fromLatin1(c.name)), expected) << c.folder;
  }
}

}  // namespace
}  // namespace skelvor
