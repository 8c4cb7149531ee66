#include "storage/dbase/date.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quendra::storage;

TEST(Date, JulianDayNumbersOfKnownDays) {
    EXPECT_EQ(Date::fromYmd(2000, 1, 1).julianDay(), 2451545);
    EXPECT_EQ(Date::fromYmd(1, 1, 1).julianDay(), 1721426);
    EXPECT_EQ(Date::fromYmd(1582, 10, 15).julianDay(), 2299161);
    EXPECT_EQ(Date::fromYmd(9999, 12, 31).julianDay(), 5373484);
    const Date d = Date::fromJulianDay(2457055);
    EXPECT_EQ(d.year(), 2015);
    EXPECT_EQ(d.month(), 2);
    EXPECT_EQ(d.day(), 1);
}

// Walks every day of the years 1-9999: each day number is the next calendar day.
TEST(Date, EveryDayFollowsThePreviousOne) {
    const std::int32_t first = Date::fromYmd(1, 1, 1).julianDay();
    const std::int32_t last = Date::fromYmd(9999, 12, 31).julianDay();
    int year = 1, month = 1, day = 1;
    for (std::int32_t jdn = first; jdn <= last; ++jdn) {
        const Date d = Date::fromJulianDay(jdn);
        if (d.year() != year || d.month() != month || d.day() != day) {
            FAIL() << jdn << " gives " << d.toIso() << ", expected " << year << "-" << month << "-" << day;
        }
        if (Date::tryFromYmd(year, month, day + 1)) {
            ++day;
        } else if (month < 12) {
            ++month;
            day = 1;
        } else {
            ++year;
            month = day = 1;
        }
    }
    EXPECT_EQ(year, 10000);
}

TEST(Date, FromYmdKnowsLeapYearsAndLimits) {
    EXPECT_TRUE(Date::tryFromYmd(2000, 2, 29));
    EXPECT_TRUE(Date::tryFromYmd(2024, 2, 29));
    EXPECT_FALSE(Date::tryFromYmd(1900, 2, 29));
    EXPECT_FALSE(Date::tryFromYmd(2023, 2, 29));
    EXPECT_FALSE(Date::tryFromYmd(2015, 4, 31));
    EXPECT_FALSE(Date::tryFromYmd(2015, 0, 1));
    EXPECT_FALSE(Date::tryFromYmd(2015, 13, 1));
    EXPECT_FALSE(Date::tryFromYmd(2015, 1, 0));
    EXPECT_FALSE(Date::tryFromYmd(0, 1, 1));
    EXPECT_FALSE(Date::tryFromYmd(10000, 1, 1));
    EXPECT_THROW(Date::fromYmd(2015, 2, 31), std::invalid_argument);
}

TEST(Date, ParsesDbfText) {
    EXPECT_EQ(Date::parseDbf("20150131"), Date::fromYmd(2015, 1, 31));
    EXPECT_EQ(Date::parseDbf("00010101"), Date::fromYmd(1, 1, 1));
    EXPECT_EQ(Date::parseDbf("        "), Date{});
    EXPECT_EQ(Date::parseDbf(""), Date{});
    for (const char* bad : {"2015013", "201501311", "2015-1-3", "20150231", " 2015013", "2015013 ", "0000000a",
                            "00000000", "+2015013"})
        EXPECT_FALSE(Date::parseDbf(bad)) << bad;
}

TEST(Date, ParsesOnlyTheFullDisplayForm) {
    EXPECT_EQ(Date::parseDisplay("29.02.2000"), Date::fromYmd(2000, 2, 29));
    EXPECT_EQ(Date::parseDisplay("31.12.9999"), Date::fromYmd(9999, 12, 31));
    for (const char* bad : {"29.02.1900", "1.1.2000", "01.01.00", "01.1.2000", "01/01/2000", "01.01.2000 ",
                            " 1.01.2000", "32.01.2000", "+1.01.2000", "01.01.-200", "", "  .  .    "})
        EXPECT_FALSE(Date::parseDisplay(bad)) << bad;
}

TEST(Date, ParsesIsoText) {
    EXPECT_EQ(Date::parseIso("2015-01-31"), Date::fromYmd(2015, 1, 31));
    for (const char* bad : {"2015-1-31", "2015/01/31", "20150131", "2015-02-29", "31.01.2015", ""})
        EXPECT_FALSE(Date::parseIso(bad)) << bad;
}

TEST(Date, TextFormsPadWithZeros) {
    const Date d = Date::fromYmd(987, 3, 5);
    EXPECT_EQ(d.toDbf(), "09870305");
    EXPECT_EQ(d.toDisplay(), "05.03.0987");
    EXPECT_EQ(d.toIso(), "0987-03-05");
    EXPECT_EQ(Date::parseDbf(d.toDbf()), d);
    EXPECT_EQ(Date::parseDisplay(d.toDisplay()), d);
    EXPECT_EQ(Date::parseIso(d.toIso()), d);
}

TEST(Date, EmptyDate) {
    const Date empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.toDbf(), "        ");
    EXPECT_EQ(empty.toDisplay(), "");
    EXPECT_EQ(empty.toIso(), "");
    EXPECT_LT(empty, Date::fromYmd(1, 1, 1));
}

TEST(Date, OrderAndArithmeticFollowTheCalendar) {
    EXPECT_LT(Date::fromYmd(2014, 12, 31), Date::fromYmd(2015, 1, 1));
    EXPECT_EQ(Date::fromYmd(2000, 2, 28).addDays(1), Date::fromYmd(2000, 2, 29));
    EXPECT_EQ(Date::fromYmd(1900, 2, 28).addDays(1), Date::fromYmd(1900, 3, 1));
    EXPECT_EQ(Date::fromYmd(2015, 1, 1).addDays(-1), Date::fromYmd(2014, 12, 31));
}
