#include "storage/amount_format.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

TEST(AmountFormat, PicturesOfTheTable) {
    EXPECT_EQ(formatNumber(1234.5, Picture::GridAmount), "1.234,50   ");
    EXPECT_EQ(formatNumber(1234.5, Picture::Amount), "1.234,50");
    EXPECT_EQ(formatNumber(1234.5, Picture::EditAmount), "1.234,50");
    EXPECT_EQ(formatNumber(1234.5, Picture::Calculator), "1234,50");
    EXPECT_EQ(formatNumber(0, Picture::Calculator), "0,00");
    EXPECT_EQ(formatNumber(2.5, Picture::Margin), "2,5");
    EXPECT_EQ(formatNumber(28, Picture::Margin), "28");
    EXPECT_EQ(formatNumber(1234.56, Picture::Margin), "1.234,56");
}

TEST(AmountFormat, GroupsThousandsAtEveryThirdDigit) {
    EXPECT_EQ(formatNumber(0, Picture::Amount), "0,00");
    EXPECT_EQ(formatNumber(999.999, Picture::Amount), "1.000,00");
    EXPECT_EQ(formatNumber(100000, Picture::Amount), "100.000,00");
    EXPECT_EQ(formatNumber(1234567.891, Picture::Amount), "1.234.567,89");
    EXPECT_EQ(formatNumber(-1234567.5, Picture::Amount), "-1.234.567,50");
}

TEST(AmountFormat, RoundsHalvesToEvenOnTheBinaryValue) {
    EXPECT_EQ(formatNumber(0.125, Picture::Amount), "0,12");  // exact half: to even
    EXPECT_EQ(formatNumber(0.375, Picture::Amount), "0,38");  // exact half: to even
    EXPECT_EQ(formatNumber(2.675, Picture::Amount), "2,67");  // just below 2.675 in binary
    EXPECT_EQ(formatNumber(1.005, Picture::Amount), "1,00");  // just below 1.005
    EXPECT_EQ(formatNumber(0.285, Picture::Amount), "0,28");  // just below 0.285
    EXPECT_EQ(formatNumber(-0.125, Picture::Amount), "-0,12");
}

TEST(AmountFormat, NegativeValuesAndNegativeZero) {
    EXPECT_EQ(formatNumber(-20, Picture::Amount), "-20,00");
    EXPECT_EQ(formatNumber(-20, Picture::GridAmount), "-20,00   ");
    EXPECT_EQ(formatNumber(-0.001, Picture::Amount), "0,00");
    EXPECT_EQ(formatNumber(-0.0, Picture::Margin), "0");
}

TEST(AmountFormat, TypedAmountDropsDotsAndReadsCommaAsDecimal) {
    EXPECT_EQ(parseAmount("12.345,6"), 12345.6);
    EXPECT_EQ(formatNumber(*parseAmount("12.345,6"), Picture::Amount), "12.345,60");
    EXPECT_EQ(parseAmount("1.234,50"), parseAmount("1234,50"));
    EXPECT_EQ(parseAmount(" -20 "), -20.0);
    EXPECT_EQ(parseAmount("+5"), 5.0);
    EXPECT_EQ(parseAmount(",5"), 0.5);
    EXPECT_EQ(parseAmount("7,"), 7.0);
    // A dot is never a decimal point: "12.5" is 125.
    EXPECT_EQ(parseAmount("12.5"), 125.0);
}

TEST(AmountFormat, GarbageIsNoAmount) {
    for (const char* text : {"", "   ", "-", ",", "1,2,3", "12a", "1e5", "--1", "1-", "0x10", "€ 5"}) {
        EXPECT_FALSE(parseAmount(text).has_value()) << text;
    }
}

TEST(AmountFormat, WholeNumbers) {
    EXPECT_EQ(parseWholeNumber("150"), 150);
    EXPECT_EQ(parseWholeNumber(" -49 "), -49);
    EXPECT_EQ(parseWholeNumber("+7"), 7);
    for (const char* text : {"", "1,5", "1.5", "abc", "+-1", "99999999999999999999"}) {
        EXPECT_FALSE(parseWholeNumber(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace quendra::storage
