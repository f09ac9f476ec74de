#include "listtext.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

namespace skelvor {
namespace {

TEST(PickedItem, ExactCaseFirstThenTheFirstMatchIgnoringCase) {
  const QStringList items = {"", "FL", "Fl", "lf", "LF"};
  const struct {
    const char16_t* text;
    qsizetype item;
  } cases[] = {{u"Fl", 2}, {u"FL", 1}, {u"fL", 1}, {u"LF", 4}, {u"Lf", 3}, {u"", 0}, {u"XX", -1}, {u"F", -1}};
  for (const auto& c : cases) EXPECT_EQ(pickedItem(items, c.text), c.item) << QString::fromUtf16(c.text);
}

}  // namespace
}  // namespace skelvor
