#include "storage/account_code.h"
#include "storage/journal_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quendra::storage {
namespace {

TEST(AccountCode, SubAccountsSortBeforeMainAccountsAndHeaderFirst) {
    std::vector<std::string> codes = {"HE0500", " A0101", "HA0100", " V0101", "  PFAR", " E0501", " C0201"};
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (std::vector<std::string>{"  PFAR", " A0101", " C0201", " E0501", " V0101", "HA0100", "HE0500"}));
}

TEST(AccountCode, SplitsItsParts) {
    EXPECT_EQ(classLetter(" A0705"), 'A');
    EXPECT_EQ(groupNumber(" A0705"), "07");
    EXPECT_EQ(subAccountNumber(" A0705"), "05");
    EXPECT_EQ(groupPrefix(" A0705"), " A07");
    EXPECT_EQ(classAndGroup("HE0500"), "E05");
    // Short or empty codes give what is there instead of reading past the end.
    EXPECT_EQ(classLetter(""), '\0');
    EXPECT_EQ(groupNumber(" A"), "");
    EXPECT_EQ(subAccountNumber(" A07"), "");
    EXPECT_EQ(classAndGroup(" A0"), "A0");
}

TEST(AccountCode, TypedCodeIsStoredWithLeadingBlankAndA0000MeansDefault) {
    EXPECT_EQ(storedFromTyped("A0705"), " A0705");
    EXPECT_EQ(storedFromTyped("A0000"), " A0101");
    EXPECT_EQ(storedFromTyped("C0000"), " C0000");
    EXPECT_EQ(typedFromStored("CC0101"), "C0101");
    EXPECT_EQ(typedFromStored(" C0201"), "C0201");
}

TEST(AccountCode, RangeEndCoversSubAccountsNinetyToNinetyNine) {
    const std::string low = " A01";
    const std::string high = prefixRangeEnd(low);
    for (const std::string code : {" A0101", " A0190", " A0199"}) {
        EXPECT_TRUE(code >= low && code <= high) << code;
    }
    EXPECT_FALSE(std::string(" A0201") <= high);
    EXPECT_TRUE(std::string("HV9900") <= prefixRangeEnd("H"));
}

TEST(AccountCode, OnlyGroupsC01ToC04AreLiquid) {
    EXPECT_TRUE(isLiquid(" C0101"));
    EXPECT_TRUE(isLiquid(" C0401"));
    EXPECT_FALSE(isLiquid(" C0501"));
    EXPECT_FALSE(isLiquid(" C1001"));
    EXPECT_FALSE(isLiquid(" C0001"));
    EXPECT_FALSE(isLiquid(" P0201"));
    EXPECT_FALSE(isLiquid(" A0101"));
    EXPECT_FALSE(isLiquid(" C"));
}

TEST(AccountCode, KindsOfChartRows) {
    EXPECT_EQ(chartRowKind("  PFAR", ""), ChartRowKind::ParishHeader);
    EXPECT_EQ(chartRowKind(" A", "10"), ChartRowKind::Type);
    EXPECT_EQ(chartRowKind("TE", "90"), ChartRowKind::Type);
    EXPECT_EQ(chartRowKind("HA0100", ""), ChartRowKind::MainAccount);
    EXPECT_EQ(chartRowKind(" A0101", ""), ChartRowKind::SubAccount);
    EXPECT_EQ(chartRowKind(" A0101", "91"), ChartRowKind::SubAccount);
    EXPECT_EQ(chartRowKind(" A0101", "09"), ChartRowKind::SubAccount);
    EXPECT_EQ(chartRowKind("XYZ", ""), ChartRowKind::Other);
}

TEST(AccountCode, CashBoxDescriptionUpperCasesTheMainAccountOnly) {
    EXPECT_EQ(cashBoxDescription("Cassa e banche", "Cassa parrocchiale"), "CASSA E BANCHE -> Cassa parrocchiale");
    EXPECT_EQ(cashBoxDescription("Liquidità", "Banca"), "LIQUIDITÀ -> Banca");
}

TEST(AccountCode, FilterTexts) {
    EXPECT_EQ(liquidityFilter(),
              "codd like \" C01%\" or codd like \" C02%\" or codd like \" C03%\" or codd like \" C04%\"");
    EXPECT_EQ(otherAssetsFilter(),
              "cod like \" C%\" and not (cod like \" C01%\" or cod like \" C02%\" or cod like \" C03%\" or cod like "
              "\" C04%\")");
}

TEST(JournalRecord, AmountFollowsTheSide) {
    EXPECT_EQ(journal::amount(10.0, 20.0, 1), 20.0);
    EXPECT_EQ(journal::amount(10.0, 20.0, 2), 10.0);
    EXPECT_FALSE(journal::amount(10.0, 20.0, 0).has_value());
    EXPECT_FALSE(journal::amount(10.0, 20.0, 3).has_value());
}

}  // namespace
}  // namespace quendra::storage
