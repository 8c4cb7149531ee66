#include "printing/property_figures.h"
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

std::string grid(double value) { return storage::formatNumber(value, storage::Picture::EditAmount); }

std::vector<std::string> lines(const std::vector<PropertyLine>& block) {
    std::vector<std::string> out;
    for (const PropertyLine& l : block) out.push_back(l.prefix + " " + grid(l.opening) + " " + grid(l.yearEnd));
    return out;
}

std::string columns(const PropertyColumns& c) { return grid(c.opening) + " " + grid(c.yearEnd); }

class AnnualFigures : public ::testing::Test {
protected:
    std::filesystem::path journal(const std::vector<Movement>& rows) {
        test::makeNumberedJournal(dir_ / "kr202601.dbf", rows);
        return dir_ / "kr202601.dbf";
    }
    SummaryFigures summary(const std::vector<Movement>& rows) { return summaryFigures(journal(rows)); }
    PropertyFigures property(const std::vector<Movement>& rows) { return propertyFigures(journal(rows)); }

    test::TempDir dir_;
};

TEST_F(AnnualFigures, SummarySectionsSignsAndTotalsOfAYear) {
    const SummaryFigures f = summary({
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

TEST_F(AnnualFigures, SummaryYearOfOpeningRowsOnly) {
    const SummaryFigures f =
        summary({opening(" C0101", 1000), opening(" C0201", 2500), opening(" C0501", -3000), opening(" P0101", 10000)});

    EXPECT_EQ(shown(f.sections[0].sum), "-3.500,00");
    EXPECT_EQ(f.saldo, 0);
    EXPECT_FALSE(f.sections[1].sum);
    EXPECT_FALSE(f.sections[2].sum);
    EXPECT_EQ(storage::formatNumber(f.totalLiquidity, storage::Picture::Amount), "3.500,00");
    EXPECT_EQ(storage::formatNumber(f.totalProperty, storage::Picture::Amount), "-3.500,00");
}

TEST_F(AnnualFigures, SummaryYearWithoutRowsHasNoLinesAndZeroTotals) {
    const SummaryFigures f = summary({});
    for (const SectionFigures& section : f.sections) {
        EXPECT_TRUE(section.accounts.empty());
        EXPECT_FALSE(section.sum);
    }
    EXPECT_EQ(f.saldo, 0);
    EXPECT_EQ(f.totalLiquidity, 0);
    EXPECT_EQ(f.totalProperty, 0);
}

TEST_F(AnnualFigures, SummaryAccountsThatNetToZeroPrintNoLineAndCarryTheirPair) {
    const SummaryFigures f = summary({
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

TEST_F(AnnualFigures, SummarySectionWhoseRowsCancelKeepsItsSommaLine) {
    // Income and expense are not 0, so the line prints; its amount is empty.
    const SummaryFigures f = summary({income(" C0201", " C0101", 300), expense(" C0201", " C0101", 300)});
    ASSERT_TRUE(f.sections[3].sum);
    EXPECT_EQ(*f.sections[3].sum, 0);
    EXPECT_FALSE(f.sections[3].accounts.at(0).difference);
}

TEST_F(AnnualFigures, SummaryFloatingPointResidueIsComparedExactly) {
    // 0,1 + 0,2 - 0,3 is not 0 in binary: the line prints and shows 0,00.
    const SummaryFigures f = summary({income(" E0101", " C0101", 0.1), income(" E0101", " C0101", 0.2),
                                      expense(" E0101", " C0101", 0.3)});
    const MainAccountFigure& offerings = f.sections[1].accounts.at(0);
    ASSERT_TRUE(offerings.difference);
    EXPECT_NE(*offerings.difference, 0);
    EXPECT_EQ(shown(offerings.difference), "0,00");
    EXPECT_EQ(shown(offerings.subAccounts.at(0).difference), "0,00");
}

TEST_F(AnnualFigures, SummaryRowsOutsideTheLiquidCashBoxesStayOutOfIncomeAndExpense) {
    // An income booked against the securities is no cash movement.
    const SummaryFigures f = summary({income(" E0101", " C0501", 80), income(" E0101", " C0101", 20)});
    EXPECT_EQ(shown(f.sections[1].sum), "20,00");
    EXPECT_EQ(storage::formatNumber(f.saldo, storage::Picture::Amount), "20,00");
}

TEST_F(AnnualFigures, PropertyGroupsAndSumsAtBothDates) {
    const PropertyFigures f = property({
        opening(" C0101", 1000),
        opening(" C0102", 250),
        opening(" C0201", 5000),
        opening(" P0101", 10000),
        income(" E0101", " C0101", 500),
        expense(" A0101", " C0102", 50),
        expense(" P0101", " C0201", 1000),
        expense(" C0501", " C0201", 5000),  // securities bought
    });
    // The cash boxes of one group share their line.
    EXPECT_EQ(lines(f.liquid), (std::vector<std::string>{" C01 1.250,00 1.700,00", " C02 5.000,00 -1.000,00"}));
    EXPECT_EQ(f.liquid[0].keyCode, " C0101");
    EXPECT_EQ(lines(f.otherAssets), (std::vector<std::string>{" C05 0,00 5.000,00"}));
    EXPECT_EQ(lines(f.liabilities), (std::vector<std::string>{" P01 10.000,00 9.000,00"}));
    EXPECT_EQ(columns(f.liquidSum), "6.250,00 700,00");
    EXPECT_EQ(columns(f.otherSum), "0,00 5.000,00");
    EXPECT_EQ(columns(f.assets), "6.250,00 5.700,00");
    EXPECT_EQ(columns(f.liabilitiesSum), "10.000,00 9.000,00");
    // The securities count on the assets' side: 700 + 5.000 - 9.000.
    EXPECT_EQ(columns(f.net), "-3.750,00 -3.300,00");
    EXPECT_EQ(grid(f.change), "450,00");
}

TEST_F(AnnualFigures, PropertyLiabilityThatNetsToZeroIsLeftOut) {
    const PropertyFigures f = property({income(" P0201", " C0201", 800), expense(" P0201", " C0201", 800),
                                       opening(" P0101", 2000)});
    EXPECT_EQ(lines(f.liabilities), (std::vector<std::string>{" P01 2.000,00 2.000,00"}));
    EXPECT_EQ(columns(f.liabilitiesSum), "2.000,00 2.000,00");
}

TEST_F(AnnualFigures, PropertyYearWithoutRowsHasOnlyZeroSums) {
    const PropertyFigures f = property({});
    EXPECT_TRUE(f.liquid.empty());
    EXPECT_TRUE(f.otherAssets.empty());
    EXPECT_TRUE(f.liabilities.empty());
    for (const PropertyColumns& c : {f.liquidSum, f.otherSum, f.assets, f.liabilitiesSum, f.net})
        EXPECT_EQ(columns(c), "0,00 0,00");
    EXPECT_EQ(grid(f.change), "0,00");
}

TEST_F(AnnualFigures, PropertyOpeningCountsEveryRowMarkedAboveZero) {
    Movement byHand = income(" C0101", " C0101", 70);
    byHand.eroeffnung = 1;
    const PropertyFigures f = property({byHand, opening(" C0101", 30)});
    EXPECT_EQ(lines(f.liquid), (std::vector<std::string>{" C01 100,00 100,00"}));
}

}  // namespace
}  // namespace quendra::printing
