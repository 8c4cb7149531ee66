#include "printing/summary_figures.h"

#include "storage/amount_format.h"

#include "support/parish_year.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace quendra::printing {
namespace {

using test::expense;
using test::income;
using test::Movement;
using test::opening;

std::string shown(std::optional<double> value) {
    return value ? storage::formatNumber(*value, storage::Picture::Amount) : "-";
}

// prefix -> printed difference of the section's main accounts ("-" when no line prints)
std::map<std::string, std::string> accounts(const SectionFigures& section) {
    std::map<std::string, std::string> out;
    for (const MainAccountFigure& a : section.accounts) out[a.prefix] = shown(a.difference);
    return out;
}

class SummaryFiguresTest : public ::testing::Test {
protected:
    SummaryFigures figures(const std::vector<Movement>& rows) {
        test::makeNumberedJournal(dir_ / "kr202601.dbf", rows);
        return summaryFigures(dir_ / "kr202601.dbf");
    }

    test::TempDir dir_;
};

TEST_F(SummaryFiguresTest, SectionsSignsAndTotalsOfAYear) {
    const SummaryFigures f = figures({
        opening(" C0101", 1000),
        opening(" C0201", 5000),
        opening(" P0101", 10000),
        opening(" C0501", -3000),
        income(" E0101", " C0101", 500),
        income(" E0201", " C0201", 1200.5),
        expense(" A0101", " C0201", 200.25),
        expense(" P0101", " C0201", 1000),        // loan repaid
        expense(" C0501", " C0201", 4000),        // securities bought
        expense(" C0201", " C0101", 300),         // cash paid into the bank
    });

    // Liquid accounts count +1, every other opening -1.
    EXPECT_EQ(accounts(f.sections[0]), (std::map<std::string, std::string>{
                                           {" C01", "1.000,00"}, {" C02", "5.000,00"}, {" C05", "3.000,00"},
                                           {" P01", "-10.000,00"}}));
    EXPECT_EQ(shown(f.sections[0].sum), "-1.000,00");
    EXPECT_EQ(shown(f.sections[1].sum), "1.700,50");
    EXPECT_EQ(shown(f.sections[2].sum), "-200,25");
    EXPECT_EQ(storage::formatNumber(f.saldo, storage::Picture::Amount), "1.500,25");
    // The cash boxes' own opening rows are liquid movements of asset accounts.
    EXPECT_EQ(accounts(f.sections[3]), (std::map<std::string, std::string>{
                                           {" C01", "1.000,00"}, {" C02", "4.700,00"}, {" C05", "-4.000,00"},
                                           {" P01", "-1.000,00"}}));
    EXPECT_EQ(shown(f.sections[3].sum), "700,00");
    EXPECT_EQ(storage::formatNumber(f.totalLiquidity, storage::Picture::Amount), "2.200,25");
    EXPECT_EQ(shown(f.sections[4].sum), "7.000,00");
    EXPECT_EQ(shown(f.sections[5].sum), "-9.000,00");
    // TOTALE liquidità less what the other assets and liabilities moved.
    EXPECT_EQ(storage::formatNumber(f.totalProperty, storage::Picture::Amount), "200,25");
}

TEST_F(SummaryFiguresTest, YearOfOpeningRowsOnly) {
    const SummaryFigures f =
        figures({opening(" C0101", 1000), opening(" C0201", 2500), opening(" C0501", -3000), opening(" P0101", 10000)});

    EXPECT_EQ(shown(f.sections[0].sum), "-3.500,00");
    EXPECT_EQ(f.saldo, 0);
    EXPECT_FALSE(f.sections[1].sum);
    EXPECT_FALSE(f.sections[2].sum);
    EXPECT_EQ(storage::formatNumber(f.totalLiquidity, storage::Picture::Amount), "3.500,00");
    EXPECT_EQ(storage::formatNumber(f.totalProperty, storage::Picture::Amount), "-3.500,00");
}

TEST_F(SummaryFiguresTest, YearWithoutRowsHasNoLinesAndZeroTotals) {
    const SummaryFigures f = figures({});
    for (const SectionFigures& section : f.sections) {
        EXPECT_TRUE(section.accounts.empty());
        EXPECT_FALSE(section.sum);
    }
    EXPECT_EQ(f.saldo, 0);
    EXPECT_EQ(f.totalLiquidity, 0);
    EXPECT_EQ(f.totalProperty, 0);
}

TEST_F(SummaryFiguresTest, AccountsThatNetToZeroPrintNoLineAndCarryTheirPair) {
    const SummaryFigures f = figures({
        income(" E0101", " C0101", 100),
        income(" E0101", " C0101", -100),
        income(" E0102", " C0101", 40),
        income(" E0201", " C0101", 60),
        income(" E0201", " C0101", -60),
    });
    const MainAccountFigure& offerings = f.sections[1].accounts.at(0);
    ASSERT_EQ(offerings.subAccounts.size(), 2u);
    EXPECT_FALSE(offerings.subAccounts[0].difference);
    EXPECT_EQ(shown(offerings.subAccounts[1].difference), "40,00");
    EXPECT_EQ(shown(offerings.difference), "40,00");
    EXPECT_EQ(offerings.lastCode, " E0102");
    EXPECT_FALSE(f.sections[1].accounts.at(1).difference);
    EXPECT_EQ(shown(f.sections[1].sum), "40,00");
}

TEST_F(SummaryFiguresTest, SectionWhoseRowsCancelKeepsItsSommaLine) {
    // Income and expense are not 0, so the line prints; its amount is empty.
    const SummaryFigures f = figures({income(" C0201", " C0101", 300), expense(" C0201", " C0101", 300)});
    ASSERT_TRUE(f.sections[3].sum);
    EXPECT_EQ(*f.sections[3].sum, 0);
    EXPECT_FALSE(f.sections[3].accounts.at(0).difference);
}

TEST_F(SummaryFiguresTest, FloatingPointResidueIsComparedExactly) {
    // 0,1 + 0,2 - 0,3 is not 0 in binary: the line prints and shows 0,00.
    const SummaryFigures f = figures({income(" E0101", " C0101", 0.1), income(" E0101", " C0101", 0.2),
                                      expense(" E0101", " C0101", 0.3)});
    const MainAccountFigure& offerings = f.sections[1].accounts.at(0);
    ASSERT_TRUE(offerings.difference);
    EXPECT_NE(*offerings.difference, 0);
    EXPECT_EQ(shown(offerings.difference), "0,00");
    EXPECT_EQ(shown(offerings.subAccounts.at(0).difference), "0,00");
}

TEST_F(SummaryFiguresTest, RowsOutsideTheLiquidCashBoxesStayOutOfIncomeAndExpense) {
    // An income booked against the securities is no cash movement.
    const SummaryFigures f = figures({income(" E0101", " C0501", 80), income(" E0101", " C0101", 20)});
    EXPECT_EQ(shown(f.sections[1].sum), "20,00");
    EXPECT_EQ(storage::formatNumber(f.saldo, storage::Picture::Amount), "20,00");
}

}  // namespace
}  // namespace quendra::printing
