#include <gtest/gtest.h>

#include "text/radix.h"

namespace qel::text {
namespace {

TEST(Radix, FormatsWithAllDigitsAndNoLeadingZeros) {
  EXPECT_EQ(formatRadix(6, 2), "110");
  EXPECT_EQ(formatRadix(5, 2), "101");
  EXPECT_EQ(formatRadix(8, 8), "10");
  EXPECT_EQ(formatRadix(255, 16), "FF");
  EXPECT_EQ(formatRadix(0, 16), "0");
  EXPECT_EQ(formatRadix(-12, 10), "-12");
  EXPECT_EQ(formatRadix(2047, 10), "2047");
}

TEST(Radix, ParsesByTheRulesOfEachRadix) {
  EXPECT_EQ(parseRadix("FF", 16), 255);
  EXPECT_EQ(parseRadix("ff", 16), 255);
  EXPECT_EQ(parseRadix("1G", 16), 16);  // any other character is digit 0
  EXPECT_EQ(parseRadix("", 16), 0);
  EXPECT_EQ(parseRadix("110", 2), 6);
  EXPECT_EQ(parseRadix("17", 8), 15);
  EXPECT_EQ(parseRadix("", 8), 0);
  EXPECT_EQ(parseRadix("-7", 10), -7);
  EXPECT_EQ(parseRadix("", 10), std::nullopt);
  EXPECT_EQ(parseRadix("12a", 10), std::nullopt);
  for (int radix : {2, 8, 10, 16})
    for (int v : {0, 1, 6, 100, 2047, 65535})
      EXPECT_EQ(parseRadix(formatRadix(v, radix), radix), v) << v << " in " << radix;
}

TEST(Radix, DecimalFieldsAcceptBlanksAndRejectGarbage) {
  EXPECT_EQ(parseDecimal(" 42 "), 42);
  EXPECT_EQ(parseDecimal("+3"), 3);
  EXPECT_EQ(parseDecimal("-3"), -3);
  EXPECT_EQ(parseDecimal(""), std::nullopt);
  EXPECT_EQ(parseDecimal("шесть"), std::nullopt);
  EXPECT_EQ(parseDecimal("99999999999"), std::nullopt);
  EXPECT_EQ(parseDecimal("4 2"), std::nullopt);
}

TEST(Radix, CleaningKeepsOnlyTheRadixDigits) {
  EXPECT_EQ(cleanRadixText("1x2", 10), "12");
  EXPECT_EQ(cleanRadixText("ab7", 8), "7");
  EXPECT_EQ(cleanRadixText("1201", 2), "101");
  EXPECT_EQ(cleanRadixText("0xFfG9", 16), "0Ff9");
  EXPECT_EQ(cleanRadixText("89", 8), "");
}

}  // namespace
}  // namespace qel::text
