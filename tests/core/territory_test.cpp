#include "territory.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

#include <set>

namespace skelvor {
namespace {

class TerritoryTest : public ::testing::Test {
 protected:
  void SetUp() override { fillTerritories(table); }
  TerritoryTable table;
};

TEST_F(TerritoryTest, FillsEverySlotButZero) {
  EXPECT_TRUE(table[0].isEmpty());
  EXPECT_EQ(table[1], u"AG|Solomon Islands");
  EXPECT_EQ(table[38], u"Fl|Mauritius");
  EXPECT_EQ(table[39], u"FL|Zambia");
  EXPECT_EQ(table[kCanadaSlot], u"CY|Canada");
  EXPECT_EQ(table[kCanadaSlot + 1], u"AA|Antarctica AA");
  EXPECT_EQ(table[kLastTerritorySlot], u"ZZ|China ZZ");
  // Codes and names are unique even with letter case ignored, as the lists match them, except the pair Fl and FL.
  std::set<QString> codes, names;
  for (std::size_t slot = 1; slot <= kLastTerritorySlot; ++slot) {
    const QStringList fields = table[slot].split(u'|');
    ASSERT_EQ(fields.size(), 2) << "slot " << slot;
    EXPECT_EQ(fields[0].size(), 2) << "slot " << slot;
    codes.insert(fields[0].toUpper());
    names.insert(fields[1].toUpper());
  }
  EXPECT_EQ(codes.size(), kLastTerritorySlot - 1);
  EXPECT_EQ(names.size(), kLastTerritorySlot);
}

TEST_F(TerritoryTest, SlotsBeforeAndAfterCanadaRunInCodeOrder) {
  for (std::size_t slot = 2; slot <= kLastTerritorySlot; ++slot) {
    if (slot == kCanadaSlot || slot == kCanadaSlot + 1) continue;
    EXPECT_LE(table[slot - 1].left(2).compare(table[slot].left(2), Qt::CaseInsensitive), 0) << "slot " << slot;
  }
}

TEST_F(TerritoryTest, FillingAgainStoresTheSameValues) {
  TerritoryTable again = table;
  fillTerritories(again);
  EXPECT_EQ(again, table);
}

struct CodeCase {
  const char16_t* code;
  const char16_t* name;  // nullptr: no name
};

class CodeToName : public TerritoryTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(CodeToName, LooksUpExactlyAndCaseSensitively) {
  const auto name = countryName(table, GetParam().code);
  if (GetParam().name == nullptr) {
    EXPECT_FALSE(name.has_value()) << *name;
  } else {
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(*name, QStringView(GetParam().name));
  }
}

INSTANTIATE_TEST_SUITE_P(Territory, CodeToName,
                         ::testing::Values(CodeCase{u"FL", u"Zambia"}, CodeCase{u"Fl", u"Mauritius"},
                                           CodeCase{u"fl", nullptr}, CodeCase{u"fL", nullptr},
                                           CodeCase{u"CY", u"Canada"}, CodeCase{u"LF", u"France"},
                                           CodeCase{u"AG", u"Solomon Islands"}, CodeCase{u" LF", nullptr},
                                           CodeCase{u"LF ", nullptr}, CodeCase{u"L", nullptr}, CodeCase{u"", nullptr},
                                           CodeCase{u"XX", nullptr}, CodeCase{u"LF|France", nullptr},
                                           CodeCase{u"FI", u"Mauritius FI"}, CodeCase{u"K1", u"United States K1"},
                                           CodeCase{u"K7", u"United States K7"}, CodeCase{u"YM", u"Australia YM"},
                                           CodeCase{u"k1", nullptr}));

class NameToCode : public TerritoryTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(NameToCode, LooksUpExactlyAndCaseSensitively) {
  const auto code = countryCode(table, GetParam().name);
  if (GetParam().code == nullptr) {
    EXPECT_FALSE(code.has_value()) << *code;
  } else {
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, QStringView(GetParam().code));
  }
}

INSTANTIATE_TEST_SUITE_P(Territory, NameToCode,
                         ::testing::Values(CodeCase{u"ZK", u"Korea north"}, CodeCase{nullptr, u"Korea North"},
                                           CodeCase{u"LE", u"Spain"}, CodeCase{u"GC", u"Spain 01"},
                                           CodeCase{u"Fl", u"Mauritius"}, CodeCase{u"FL", u"Zambia"},
                                           CodeCase{u"CY", u"Canada"}, CodeCase{nullptr, u""},
                                           CodeCase{nullptr, u" Spain"},
                                           CodeCase{u"NL", u"New Caledonia & Wallis and Futuna 01"},
                                           CodeCase{u"FI", u"Mauritius FI"}, CodeCase{u"YB", u"Australia YB"}));

TEST(TerritoryEmptyTable, FindsNothingBeforeFilling) {
  const TerritoryTable empty{};
  EXPECT_FALSE(countryName(empty, u"").has_value());
  EXPECT_FALSE(countryCode(empty, u"").has_value());
}

}  // namespace
}  // namespace skelvor
