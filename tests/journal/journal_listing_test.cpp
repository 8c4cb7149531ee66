#include "journal/journal_listing.h"

#include "journal/journal_entry.h"
#include "support/year_fixture.h"

#include <gtest/gtest.h>

#include <numeric>

namespace quendra::journal {
namespace {

using test::Movement;
using test::ymd;
using test::YearFixture;

TEST(ListColumns, ProportionsOfTheDesignedList) {
    // 1000 px: designed terms 57+113+113+57+321+123+123+38 = 945, 55 left, 85 % = 46.75.
    EXPECT_EQ(listColumnWidths(1000), (std::array<int, 7>{57, 113, 113, 113, 312, 123, 123}));
    const std::array<int, 7> wide = listColumnWidths(1917);
    EXPECT_LE(std::accumulate(wide.begin(), wide.end(), 0), 1917) << "the columns fit the list";
    EXPECT_EQ(listColumnWidths(0), (std::array<int, 7>{}));
}

class Listing : public ::testing::Test {
protected:
    void SetUp() override { fixture.openYear(); }
    std::vector<int> numbers() {
        std::vector<int> out;
        for (std::size_t row = 0; row < listing.rowCount(); ++row) out.push_back(std::stoi(listing.cells(row)[0]));
        return out;
    }
    YearFixture fixture{{
        {1, ymd(2015, 3, 1), " E0101", " C0101", "Offerte domenica", 1234.5, 0, 2, 0},
        {2, ymd(2015, 1, 7), " A0101", " C0201", "Quota clero", 0, 0.25, 1, 0},
        {3, ymd(2015, 2, 2), " A0102", " C0201", "", 0, 0, 0, 0},
    }};
    JournalListing listing{fixture.year.listing};
};

TEST_F(Listing, ShowsTheRowsInTheListOrderWithTheirTexts) {
    listing.reload();
    ASSERT_EQ(listing.rowCount(), 3u);
    EXPECT_EQ(listing.cells(0), (std::array<std::string, 7>{"1", "01.03.2015", " E0101", " C0101", "Offerte domenica",
                                                             "1.234,50   ", "0,00   "}));
    EXPECT_EQ(listing.cells(1)[6], "0,25   ");

    setListOrder(fixture.context, ListOrder::ByDate);
    listing.reload();
    EXPECT_EQ(numbers(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(listing.rowOf(listing.recordAt(2)), 2u);
    EXPECT_EQ(listing.rowOf(99), std::nullopt);
}

TEST_F(Listing, FollowsChangesAfterReloadOrRowChanged) {
    listing.reload();
    EXPECT_EQ(listing.cells(0)[4], "Offerte domenica");
    storeText(fixture.context, "Offerte della domenica");
    EXPECT_EQ(listing.cells(0)[4], "Offerte domenica") << "cached until told";
    listing.rowChanged(fixture.year.journal.recordNumber());
    EXPECT_EQ(listing.cells(0)[4], "Offerte della domenica");

    fixture.year.journal.deleteRecord();
    listing.reload();
    EXPECT_EQ(numbers(), (std::vector<int>{2, 3}));
    EXPECT_EQ(listing.rowOf(1), std::nullopt) << "a deleted row is not listed";
}

TEST_F(Listing, ReadingTheListNeverMovesTheCurrentRow) {
    fixture.year.journal.last();
    listing.reload();
    for (std::size_t row = 0; row < listing.rowCount(); ++row) listing.cells(row);
    EXPECT_EQ(fixture.year.journal.asInteger("Nummer"), 3);
}

TEST(ListingClosed, IsEmpty) {
    storage::Cursor closed;
    JournalListing listing(closed);
    listing.reload();
    EXPECT_EQ(listing.rowCount(), 0u);
}

}  // namespace
}  // namespace quendra::journal
