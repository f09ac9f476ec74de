#include "listorder.h"

#include "qt_printing.h"
#include "testrows.h"

#include <QCollator>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

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

// Items that hold long runs of spaces, as result rows do, and more characters beyond Latin-1 than one byte can rank.
// Their compact texts have one space for each run.
class SpacedItems : public ListItems {
 public:
  explicit SpacedItems(int count) {
    for (const QString& item : generatedItems(count)) items_.append(item);
    for (int c = 0; c < 600; ++c)
      items_.append(QString(QChar(0x4E00 + (c * 7) % 600)) + QChar(u'a' + c % 3) + QChar(0x0400 + c % 96) +
                    QString(c % 4 * 40, u' ') + QString::number(c % 5));
  }
  qsizetype size() const override { return items_.size(); }
  QStringView text(qsizetype i, QString&) const override { return items_.at(i); }
  QStringView compact(qsizetype i, QString& room) const override {
    room.clear();
    for (const QChar c : items_.at(i))
      if (c != u' ' || !room.endsWith(u' ')) room += c;
    return room;
  }
  const QStringList& items() const { return items_; }

 private:
  QStringList items_;
};

QStringList inPlaces(const QStringList& items, const std::vector<qsizetype>& places) {
  QStringList list;
  for (const qsizetype place : places) list.append(items.at(place));
  return list;
}

TEST_P(ListOrderIn, PutsItemsInTheOrderOfTheirWholeTexts) {
  const SpacedItems items(3000);
  EXPECT_EQ(inPlaces(items.items(), ListOrder(locale()).placesInOrder(items)), collatorOrder(locale(), items.items()));
}

// Lists long enough to be sorted a part at a time on threads of their own: runs that the presort leaves out of order,
// and equal items, fall on both sides of where the parts meet.
TEST_P(ListOrderIn, SortsLongListsAsTheRuleSays) {
  constexpr int kCount = 45000;
  const ListOrder order(locale());
  const QStringList items = generatedItems(kCount);
  EXPECT_EQ(order.sorted(items), collatorOrder(locale(), items));
  const SpacedItems spaced(kCount);
  EXPECT_EQ(inPlaces(spaced.items(), order.placesInOrder(spaced)), collatorOrder(locale(), spaced.items()));
}

TEST_P(ListOrderIn, IgnoresLetterCaseOfCodes) {
  // Collation keys of the C locale keep letter case; the lists must not.
  const QStringList codes = {u"LF"_s, u"Mx"_s, u"lf"_s, u"FO"_s, u"Fl"_s, u"FL"_s, u"fo"_s};
  const QStringList expected = {u"Fl"_s, u"FL"_s, u"FO"_s, u"fo"_s, u"LF"_s, u"lf"_s, u"Mx"_s};
  const ListOrder order(locale());
  EXPECT_EQ(order.sorted(codes), expected);
  EXPECT_EQ(addedOneByOne(order, codes), expected);
}

// In Czech "ch" is one letter, after "h"; ranked a character at a time it comes before "cz", and the presort leaves
// two runs to merge.
TEST_P(ListOrderIn, MergesWhatThePresortLeavesOutOfOrder) {
  const QStringList items = {u"ch"_s, u"ca"_s, u"cz"_s};
  const QStringList expected = collatorOrder(locale(), items);
  if (locale().language() == QLocale::Czech) {
    ASSERT_EQ(expected, QStringList({u"ca"_s, u"cz"_s, u"ch"_s}));
  }
  EXPECT_EQ(ListOrder(locale()).sorted(items), expected);
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
