#include "selection.h"

#include "qt_printing.h"
#include "testrows.h"

#include <gtest/gtest.h>

#include <vector>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

TEST(ResultsLabel, SaysResultUpToOneAndResultsAbove) {
  EXPECT_EQ(resultsLabel(0, u"57"_s), u"0 result of 57 objects.");
  EXPECT_EQ(resultsLabel(1, u"57"_s), u"1 result of 57 objects.");
  EXPECT_EQ(resultsLabel(2, u"57"_s), u"2 results of 57 objects.");
  EXPECT_EQ(resultsLabel(100000, u"100000"_s), u"100000 results of 100000 objects.");
}

TEST(ResultsLabel, ShowsAnEmptyTotalAsStored) { EXPECT_EQ(resultsLabel(0, u""_s), u"0 result of  objects."); }

// The indices that a match covers, range by range.
std::vector<qsizetype> indicesOf(const Matches& matches) {
  std::vector<qsizetype> indices;
  for (const auto& [first, last] : matches.ranges) {
    EXPECT_LE(first, last);
    for (qsizetype index = first; index <= last; ++index) indices.push_back(index);
  }
  return indices;
}

const QStringList& sampleRows() {
  static const QStringList rows = {
      testRow(u"AB", u"48.5", u"2.25"),               // 0
      testRow(u"xAbx (LF) Paris", u"49.1", u"-1.5"),  // 1
      testRow(u"aB", u"10", u"20"),                   // 2
      testRow(u"ab  ---  Lima", u"-12", u"-77"),      // 3
      testRow(u"CD", u"0", u"0"),                     // 4
      testRow(u"ZÜRICH", u"47.4", u"8.5"),            // 5
      testRow(u"Straße", u"1", u"2"),                 // 6
      testRow(u"\u212A", u"3", u"4"),                 // 7 Kelvin sign, upper case already
      testRow(u"ſıµ", u"5", u"6"),                    // 8 upper case SIΜ, the last a Greek capital mu
  };
  return rows;
}

struct FindCase {
  QString search;
  std::vector<qsizetype> indices;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << '"' << c.search.toStdString() << '"'; }

class FindInRows : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindInRows, SelectsRowsContainingTheUpperCasedSearch) {
  const Matches matches = findRows(sampleRows(), GetParam().search);
  EXPECT_EQ(indicesOf(matches), GetParam().indices);
  EXPECT_EQ(matches.count, static_cast<qsizetype>(GetParam().indices.size()));
}

INSTANTIATE_TEST_SUITE_P(Selection, FindInRows,
                         ::testing::Values(FindCase{u"ab"_s, {0, 1, 2, 3}}, FindCase{u"AB "_s, {0, 2, 3}},
                                           FindCase{u"aB  -"_s, {3}}, FindCase{u""_s, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                                           FindCase{u" "_s, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                                           FindCase{u"|"_s, {0, 1, 2, 3, 4, 5, 6, 7, 8}}, FindCase{u"|-1"_s, {1, 3}},
                                           FindCase{u".5|"_s, {0}}, FindCase{u"-1.5"_s, {1}},
                                           FindCase{u"zürich"_s, {5}}, FindCase{u"STRASSE"_s, {6}},
                                           FindCase{u"straße"_s, {6}}, FindCase{u"l\u0131ma"_s, {3}},
                                           FindCase{u"k"_s, {}}, FindCase{u"\u212A"_s, {7}}, FindCase{u"sIμ"_s, {8}},
                                           FindCase{u"sim"_s, {}}, FindCase{u"nowhere"_s, {}}));

TEST(FindRows, MergesConsecutiveRowsIntoRanges) {
  const QStringList rows = {testRow(u"A1", u"", u""), testRow(u"A2", u"", u""), testRow(u"B3", u"", u""),
                            testRow(u"A4", u"", u""), testRow(u"B5", u"", u""), testRow(u"A6", u"", u""),
                            testRow(u"A7", u"", u""), testRow(u"A8", u"", u"")};
  const Matches matches = findRows(rows, u"a");
  EXPECT_EQ(matches.ranges, (RowRanges{{0, 1}, {3, 3}, {5, 7}}));
  EXPECT_EQ(matches.count, 6);
}

TEST(FindRows, HandlesMoreRowsThanSixteenBitsCount) {
  QStringList rows(100000, testRow(u"LFPG", u"49", u"2"));
  rows[70000] = testRow(u"EGLL", u"51", u"0");
  const Matches matches = findRows(rows, u"lfpg");
  EXPECT_EQ(matches.ranges, (RowRanges{{0, 69999}, {70001, 99999}}));
  EXPECT_EQ(matches.count, 99999);
}

TEST(FindRows, FindsNothingInNoRows) {
  const Matches matches = findRows({}, u"");
  EXPECT_TRUE(matches.ranges.isEmpty());
  EXPECT_EQ(matches.count, 0);
}

}  // namespace
}  // namespace skelvor
