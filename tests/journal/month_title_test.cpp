#include "journal/month_title.h"

#include <gtest/gtest.h>

namespace quendra::journal {
namespace {

TEST(MonthTitle, ItalianMonthNameCommaYear) {
    EXPECT_EQ(monthTitle(2015, 1), "gennaio, 2015");
    EXPECT_EQ(monthTitle(2015, 3), "marzo, 2015");
    EXPECT_EQ(monthTitle(2016, 12), "dicembre, 2016");
}

}  // namespace
}  // namespace quendra::journal
