#include "listorder.h"

#include "qt_printing.h"
#include "testrows.h"

#include <QCollator>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

// The rule the lists follow, applied plainly: whole items compared by the locale's collator with letter case ignored,
// equal items in the order they came.
QStringList collatorOrder(const QLocale& locale, QStringList items) {
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(items.begin(), items.end(),
                   [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  return items;
}

QStringList addedOneByOne(const ListOrder& order, const QStringList& items) {
  QStringList list;
  for (const QString& item : items) list.insert(order.insertionPlace(list, item), item);
  return list;
}

// Result rows and list texts drawn from pieces that collations treat in different ways: letter case, accents that
// only break ties, digits, punctuation, spaces, characters beyond Latin-1, an ignorable control character, and visible
// texts that repeat with other coordinates. The same seed gives the same rows everywhere.
QStringList generatedItems(int count) {
  static const QStringList pieces = {
      u"a"_s,  u"A"_s, u"e"_s,  u"\u00E9"_s, u"\u00C9"_s, u"E"_s,      u"o"_s,      u"\u00F4"_s, u"Z"_s,    u"z"_s,
      u"ch"_s, u"0"_s, u"1"_s,  u"9"_s,      u"10"_s,     u"-"_s,      u"'"_s,      u"."_s,      u"|"_s,    u"_"_s,
      u"("_s,  u" "_s, u"  "_s, u"\u00DF"_s, u"ss"_s,     u"\u00E6"_s, u"\u03A9"_s, u"\u0416"_s, u"\x01"_s, u"&"_s};
  std::uint64_t state = 2024;
  const auto next = [&state](std::uint64_t bound) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return (state >> 33) % bound;
  };
  QStringList items;
  QStringList visibleTexts;
  for (int i = 0; i < count; ++i) {
    QString visible;
    if (!visibleTexts.isEmpty() && next(4) == 0) {
      visible = visibleTexts.at(static_cast<qsizetype>(next(static_cast<std::uint64_t>(visibleTexts.size()))));
    } else {
      const auto length = 1 + next(6);
      for (std::uint64_t k = 0; k < length; ++k)
        visible += pieces.at(static_cast<qsizetype>(next(static_cast<std::uint64_t>(pieces.size()))));
      visibleTexts.append(visible);
    }
    if (next(3) == 0) {
      items.append(visible);  // a code or a country name
    } else {
      const QString latitude = QString::number(static_cast<int>(next(180)) - 90) + u'.' + QString::number(next(1000));
      items.append(testRow(visible, latitude, QString::number(next(360))));
    }
  }
  return items;
}

constexpr auto kLocaleName = [](const ::testing::TestParamInfo<const char*>& param) {
  return std::string(param.param);
};

class ListOrderIn : public ::testing::TestWithParam<const char*> {
 protected:
  QLocale locale() const { return QLocale(QLatin1String(GetParam())); }
};

TEST_P(ListOrderIn, SortsAsTheCollatorComparesWholeItemsCaseIgnoredTiesInOrder) {
  const QStringList items = generatedItems(3000);
  const QStringList expected = collatorOrder(locale(), items);
  const ListOrder order(locale());
  EXPECT_EQ(order.sorted(items), expected);
  EXPECT_EQ(addedOneByOne(order, items), expected);
}

TEST_P(ListOrderIn, IgnoresLetterCaseOfCodes) {
  // Collation keys of the C locale keep letter case; the lists must not.
  const QStringList codes = {u"LF"_s, u"Mx"_s, u"lf"_s, u"FO"_s, u"Fl"_s, u"FL"_s, u"fo"_s};
  const QStringList expected = {u"Fl"_s, u"FL"_s, u"FO"_s, u"fo"_s, u"LF"_s, u"lf"_s, u"Mx"_s};
  const ListOrder order(locale());
  EXPECT_EQ(order.sorted(codes), expected);
  EXPECT_EQ(addedOneByOne(order, codes), expected);
}

TEST_P(ListOrderIn, KeepsTheOrderOfEqualRows) {
  const QString row = testRow(u"WP1", u"45.5", u"-1.25");
  QString upper = row;
  upper[0] = u'w';
  const QStringList rows = {row, upper, row};
  const ListOrder order(locale());
  const QStringList sorted = order.sorted(rows);
  ASSERT_EQ(sorted.size(), 3);
  EXPECT_TRUE(sorted.at(0) == row && sorted.at(1) == upper && sorted.at(2) == row);
  EXPECT_TRUE(order.sorted({}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Locales, ListOrderIn, ::testing::Values("en_US", "fr_FR", "C", "cs_CZ"), kLocaleName);

}  // namespace
}  // namespace skelvor
