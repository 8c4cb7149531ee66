#include "printing/property_figures.h"

#include "storage/amount_format.h"

#include "support/parish_year.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::printing {
namespace {

using test::expense;
using test::income;
using test::Movement;
using test::opening;

std::string grid(double value) { return storage::formatNumber(value, storage::Picture::EditAmount); }

std::vector<std::string> lines(const std::vector<PropertyLine>& block) {
    std::vector<std::string> out;
    for (const PropertyLine& l : block) out.push_back(l.prefix + " " + grid(l.opening) + " " + grid(l.yearEnd));
    return out;
}

std::string columns(const PropertyColumns& c) { return grid(c.opening) + " " + grid(c.yearEnd); }

class PropertyFiguresTest : public ::testing::Test {
protected:
    PropertyFigures figures(const std::vector<Movement>& rows) {
        test::makeNumberedJournal(dir_ / "kr202601.dbf", rows);
        return propertyFigures(dir_ / "kr202601.dbf");
    }

    test::TempDir dir_;
};

TEST_F(PropertyFiguresTest, GroupsAndSumsAtBothDates) {
    const PropertyFigures f = figures({
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

TEST_F(PropertyFiguresTest, LiabilityThatNetsToZeroIsLeftOut) {
    const PropertyFigures f = figures({income(" P0201", " C0201", 800), expense(" P0201", " C0201", 800),
                                       opening(" P0101", 2000)});
    EXPECT_EQ(lines(f.liabilities), (std::vector<std::string>{" P01 2.000,00 2.000,00"}));
    EXPECT_EQ(columns(f.liabilitiesSum), "2.000,00 2.000,00");
}

TEST_F(PropertyFiguresTest, YearWithoutRowsHasOnlyZeroSums) {
    const PropertyFigures f = figures({});
    EXPECT_TRUE(f.liquid.empty());
    EXPECT_TRUE(f.otherAssets.empty());
    EXPECT_TRUE(f.liabilities.empty());
    for (const PropertyColumns& c : {f.liquidSum, f.otherSum, f.assets, f.liabilitiesSum, f.net})
        EXPECT_EQ(columns(c), "0,00 0,00");
    EXPECT_EQ(grid(f.change), "0,00");
}

TEST_F(PropertyFiguresTest, OpeningCountsEveryRowMarkedAboveZero) {
    Movement byHand = income(" C0101", " C0101", 70);
    byHand.eroeffnung = 1;
    const PropertyFigures f = figures({byHand, opening(" C0101", 30)});
    EXPECT_EQ(lines(f.liquid), (std::vector<std::string>{" C01 100,00 100,00"}));
}

}  // namespace
}  // namespace quendra::printing
