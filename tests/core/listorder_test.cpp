#include "listorder.h"

#include "countryrows.h"
#include "fixfile.h"
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

// The generated rows as the waypoints of one country, each row's visible text as its ident, and rows that hold more
// characters beyond Latin-1 than one byte can rank, which the keys then take two bytes for.
FixLines generatedWaypoints(int count = 3000) {
  QString text;
  for (const GeneratedRow& row : generatedRows(count))
    text += row.visible + u";LF;"_s + (row.plain ? u"1;2"_s : row.latitude + u';' + row.longitude) + u"\r\n"_s;
  for (int c = 0; c < 600; ++c) {
    text += QChar(0x4E00 + (c * 7) % 600);
    text += QChar(u'a' + c % 3);
    text += QChar(0x0400 + c % 96);
    text += u";LF;1;"_s + QString::number(c % 5) + u'\n';
  }
  return FixLines(text.toUtf8());
}

TEST_P(ListOrderIn, SortsCountryRowsAsTheirWholeRows) {
  const FixLines lines = generatedWaypoints();
  const CountryRows inFileOrder(lines, u"LF", u"WPT");
  ASSERT_EQ(inFileOrder.size(), 3600);
  QStringList rows;
  for (qsizetype place = 0; place < inFileOrder.size(); ++place) rows.append(inFileOrder.item(place));
  const QStringList expected = collatorOrder(locale(), rows);
  const CountryRows sorted(lines, u"LF", u"WPT", ListOrder(locale()));
  QStringList shown;
  for (qsizetype place = 0; place < sorted.size(); ++place) shown.append(sorted.item(place));
  EXPECT_EQ(shown, expected);
}

// Lists long enough to be sorted a part at a time on threads of their own: runs that the presort leaves out of order,
// and equal items, fall on both sides of where the parts meet.
TEST_P(ListOrderIn, SortsLongListsAsTheRuleSays) {
  constexpr int kCount = 45000;
  const ListOrder order(locale());
  const QStringList items = generatedItems(kCount);
  EXPECT_EQ(order.sorted(items), collatorOrder(locale(), items));

  const FixLines lines = generatedWaypoints(kCount);
  const CountryRows inFileOrder(lines, u"LF", u"WPT");
  const CountryRows sorted(lines, u"LF", u"WPT", order);
  QStringList rows;
  QStringList shown;
  for (qsizetype place = 0; place < sorted.size(); ++place) {
    rows.append(inFileOrder.item(place));
    shown.append(sorted.item(place));
  }
  EXPECT_EQ(shown, collatorOrder(locale(), rows));
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
