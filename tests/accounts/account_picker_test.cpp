#include "accounts/account_picker.h"

#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "support/chart_fixture.h"
#include "support/picker_chart.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quendra::accounts {
namespace {

std::vector<std::string> codes(const PickerColumn& column) {
    std::vector<std::string> out;
    for (const PickerEntry& e : column.entries) out.push_back(e.code);
    return out;
}

std::string currentCode(const AccountPicker& picker, PickerList list) {
    const PickerEntry* e = picker.column(list).currentEntry();
    return e ? e->code : "<none>";
}

class AccountPickerTest : public ::testing::Test {
protected:
    AccountPickerTest() { test::makeChart(chart(), test::pickerChartRows()); }
    std::filesystem::path chart() const { return dir_ / "kw201501.dbf"; }

    void choose(AccountPicker& picker, PickerList list, const std::string& code) {
        const std::vector<std::string> all = codes(picker.column(list));
        const auto it = std::find(all.begin(), all.end(), code);
        ASSERT_NE(it, all.end()) << code;
        picker.moveTo(list, std::size_t(it - all.begin()));
        picker.choose(list);
    }

    test::TempDir dir_;
};

TEST_F(AccountPickerTest, ANewRowWithoutAccountOpensOnTheDefaultAccountAndCashBox) {
    AccountPicker picker(chart(), "", "", false);
    EXPECT_EQ(picker.account(), " A0101");
    EXPECT_EQ(picker.cashBox(), " C0201");
    EXPECT_EQ(codes(picker.column(PickerList::Type)), (std::vector<std::string>{"TA", "TE", "TC", "TP", "TV"}));
    EXPECT_EQ(currentCode(picker, PickerList::Type), "TA");
    // The ranges reach groups and sub-accounts 90-99; the cash-box groups stop at C04.
    EXPECT_EQ(codes(picker.column(PickerList::MainAccount)),
              (std::vector<std::string>{"HA0100", "HA0600", "HA9500"}));
    EXPECT_EQ(codes(picker.column(PickerList::SubAccount)),
              (std::vector<std::string>{" A0101", " A0102", " A0195"}));
    EXPECT_EQ(codes(picker.column(PickerList::CashGroup)),
              (std::vector<std::string>{"HC0100", "HC0200", "HC0400"}));
    EXPECT_EQ(codes(picker.column(PickerList::CashBox)),
              (std::vector<std::string>{" C0201", " C0202", " C0295"}));
    EXPECT_EQ(currentCode(picker, PickerList::CashGroup), "HC0200");
    EXPECT_EQ(currentCode(picker, PickerList::CashBox), " C0201");
    EXPECT_TRUE(picker.cashBoxesVisible());
    EXPECT_EQ(picker.closing(), (PickerChoice{" A0101", " C0201"}));
}

TEST_F(AccountPickerTest, ListsShowCodePartsWithTheirTexts) {
    AccountPicker picker(chart(), " A0102", " C0102", false);
    EXPECT_EQ(picker.column(PickerList::Type).currentEntry()->shown, "A-Uscite");
    EXPECT_EQ(picker.column(PickerList::MainAccount).currentEntry()->shown, "01-Contributo sostentamento Clero");
    EXPECT_EQ(picker.column(PickerList::SubAccount).currentEntry()->shown, "02-Remunerazione collaboratori");
    EXPECT_EQ(picker.column(PickerList::CashGroup).currentEntry()->shown, "C01-Cassa");
    EXPECT_EQ(picker.column(PickerList::CashBox).currentEntry()->shown, "02-Cassa oratorio");
}

TEST_F(AccountPickerTest, ChoosingDescendsThroughTypeMainAndSubAccount) {
    AccountPicker picker(chart(), " A0101", " C0101", false);
    choose(picker, PickerList::Type, "TE");
    EXPECT_EQ(picker.account(), " E0101");
    EXPECT_EQ(codes(picker.column(PickerList::MainAccount)), (std::vector<std::string>{"HE0100", "HE0300"}));
    EXPECT_EQ(currentCode(picker, PickerList::SubAccount), " E0101");

    choose(picker, PickerList::MainAccount, "HE0300");
    EXPECT_EQ(picker.account(), " E0301");
    EXPECT_EQ(codes(picker.column(PickerList::SubAccount)), (std::vector<std::string>{" E0301"}));

    choose(picker, PickerList::Type, "TA");
    choose(picker, PickerList::SubAccount, " A0195");
    EXPECT_EQ(picker.account(), " A0195");
    EXPECT_EQ(picker.closing(), (PickerChoice{" A0195", " C0101"}));
}

TEST_F(AccountPickerTest, AnAccountMissingFromTheChartLeavesItsListOnTheFirstRow) {
    AccountPicker picker(chart(), " A0101", " C0101", false);
    choose(picker, PickerList::MainAccount, "HA0600");
    EXPECT_EQ(picker.account(), " A0601");  // group 06 has no sub-account 01
    EXPECT_EQ(currentCode(picker, PickerList::SubAccount), " A0607");
    EXPECT_EQ(picker.closing().cod, " A0607");
}

TEST_F(AccountPickerTest, MovesWithoutAChoiceLeaveTheDependentListsAlone) {
    AccountPicker picker(chart(), " A0102", " C0102", false);
    picker.moveTo(PickerList::MainAccount, 1);
    picker.moveTo(PickerList::CashGroup, 1);
    EXPECT_EQ(currentCode(picker, PickerList::SubAccount), " A0102");
    EXPECT_EQ(currentCode(picker, PickerList::CashBox), " C0102");
    EXPECT_EQ(picker.closing(), (PickerChoice{" A0102", " C0102"}));
}

TEST_F(AccountPickerTest, AChosenRowCountsAsItselfAfterUnchosenMovesAboveIt) {
    AccountPicker picker(chart(), " A0101", " C0101", false);
    picker.moveTo(PickerList::MainAccount, 1);  // HA0600, not chosen
    choose(picker, PickerList::SubAccount, " A0102");
    EXPECT_EQ(picker.account(), " A0102");
    EXPECT_EQ(currentCode(picker, PickerList::MainAccount), "HA0100");
    picker.moveTo(PickerList::CashGroup, 2);  // HC0400, not chosen
    choose(picker, PickerList::CashBox, " C0102");
    EXPECT_EQ(picker.cashBox(), " C0102");
    EXPECT_EQ(currentCode(picker, PickerList::CashGroup), "HC0100");
}

TEST_F(AccountPickerTest, ChoosingCashBoxGroupAndCashBox) {
    AccountPicker picker(chart(), " A0101", " C0101", false);
    choose(picker, PickerList::CashGroup, "HC0400");
    EXPECT_EQ(picker.cashBox(), " C0401");
    EXPECT_EQ(codes(picker.column(PickerList::CashBox)), (std::vector<std::string>{" C0401"}));
    choose(picker, PickerList::CashGroup, "HC0200");
    choose(picker, PickerList::CashBox, " C0295");
    EXPECT_EQ(picker.closing(), (PickerChoice{" A0101", " C0295"}));
}

TEST_F(AccountPickerTest, OpeningRowOfALiabilityIsItsOwnCashBox) {
    AccountPicker picker(chart(), " A0101", " C0101", true);
    EXPECT_TRUE(picker.cashBoxesVisible());  // an expense account keeps its cash box
    choose(picker, PickerList::Type, "TP");
    EXPECT_EQ(picker.account(), " P0101");
    EXPECT_FALSE(picker.cashBoxesVisible());
    EXPECT_EQ(picker.closing(), (PickerChoice{" P0101", " P0101"}));

    picker.setOpening(false);
    EXPECT_TRUE(picker.cashBoxesVisible());
    EXPECT_EQ(picker.closing(), (PickerChoice{" P0101", " C0101"}));
}

TEST_F(AccountPickerTest, OpeningRowOfAnAssetIsItsOwnCashBox) {
    AccountPicker picker(chart(), " C0701", " C0201", true);
    EXPECT_FALSE(picker.cashBoxesVisible());
    EXPECT_EQ(picker.closing(), (PickerChoice{" C0701", " C0701"}));
}

TEST_F(AccountPickerTest, AStoredLiabilityOrNonLiquidCashBoxKeepsTheDefaultAtEveryChoice) {
    for (const std::string stored : {" P0101", " C0501"}) {
        AccountPicker picker(chart(), " P0101", stored, false);
        EXPECT_EQ(picker.cashBox(), " C0201") << stored;
        choose(picker, PickerList::CashGroup, "HC0100");
        EXPECT_EQ(picker.cashBox(), " C0201") << stored;
        choose(picker, PickerList::CashBox, " C0295");
        EXPECT_EQ(picker.cashBox(), " C0201") << stored;
        EXPECT_EQ(picker.closing(), (PickerChoice{" P0101", " C0201"})) << stored;
    }
}

TEST_F(AccountPickerTest, PlaceholderOrMissingCashBoxShowsARealCashBox) {
    // The placeholder written by the account step stands for C0101.
    EXPECT_EQ(AccountPicker(chart(), " A0101", "CC0101", false).closing(), (PickerChoice{" A0101", " C0101"}));
    // An empty cash box, or an expense account typed as one, starts on the default.
    EXPECT_EQ(AccountPicker(chart(), " A0101", "", false).closing(), (PickerChoice{" A0101", " C0201"}));
    EXPECT_EQ(AccountPicker(chart(), " A0101", " A0102", false).closing(), (PickerChoice{" A0101", " C0201"}));
}

TEST_F(AccountPickerTest, AnnullaKeepsTheRowsAccount) {
    AccountPicker picker(chart(), " A0102", " C0101", false);
    choose(picker, PickerList::Type, "TE");
    choose(picker, PickerList::SubAccount, " E0102");
    choose(picker, PickerList::CashBox, " C0102");
    // The cash box written is the one the cash-box list shows.
    EXPECT_EQ(picker.cancelling(), (PickerChoice{" A0102", " C0102"}));
    EXPECT_EQ(picker.account(), " A0102");
    EXPECT_EQ(currentCode(picker, PickerList::SubAccount), " A0102");
}

TEST_F(AccountPickerTest, AnnullaKeepsATypedAccountTheChartLacks) {
    AccountPicker picker(chart(), " A0108", " C0101", false);
    EXPECT_EQ(currentCode(picker, PickerList::SubAccount), " A0101");
    EXPECT_EQ(picker.cancelling().cod, " A0108");
}

TEST_F(AccountPickerTest, AnAccountInAGroupTheChartLacksIsNotOverwrittenWithNothing) {
    AccountPicker picker(chart(), " A7777", " C0101", false);
    EXPECT_TRUE(picker.column(PickerList::SubAccount).entries.empty());
    EXPECT_EQ(picker.closing(), (PickerChoice{" A7777", " C0101"}));
}

TEST_F(AccountPickerTest, SearchFindsCauzioniInClassesAceOnlyAndStartsOverAfterTheEnd) {
    AccountPicker picker(chart(), " A0101", " C0101", false);
    picker.startSearch();
    ASSERT_TRUE(picker.searchNext("cauzioni"));
    EXPECT_EQ(picker.account(), " A0607");
    ASSERT_TRUE(picker.searchNext("cauzioni"));
    EXPECT_EQ(picker.account(), " C0701");
    EXPECT_EQ(currentCode(picker, PickerList::Type), "TC");
    EXPECT_EQ(currentCode(picker, PickerList::MainAccount), "HC0700");
    ASSERT_TRUE(picker.searchNext("CAUZIONI"));
    EXPECT_EQ(picker.account(), " E0301");
    // " P0501 Cauzioni degli inquilini" is a liability: not searched.
    EXPECT_FALSE(picker.searchNext("cauzioni"));
    EXPECT_EQ(picker.account(), " E0301");
    ASSERT_TRUE(picker.searchNext("cauzioni"));
    EXPECT_EQ(picker.account(), " A0607");
}

TEST_F(AccountPickerTest, SearchMatchesTheMainAccountsTextToo) {
    AccountPicker picker(chart(), " A0101", " C0101", false);
    picker.startSearch();
    ASSERT_TRUE(picker.searchNext("straordinarie"));
    EXPECT_EQ(picker.account(), " E0301");
}

TEST_F(AccountPickerTest, SearchAnnullaRestoresTheAccountAndUscitaKeepsTheHit) {
    AccountPicker picker(chart(), " A0102", " C0101", false);
    picker.startSearch();
    ASSERT_TRUE(picker.searchNext("oratorio"));
    EXPECT_EQ(picker.account(), " C0102");
    picker.cancelSearch();
    EXPECT_FALSE(picker.searching());
    EXPECT_EQ(picker.account(), " A0102");
    EXPECT_EQ(currentCode(picker, PickerList::SubAccount), " A0102");

    picker.startSearch();
    ASSERT_TRUE(picker.searchNext("candele"));
    picker.endSearch();
    EXPECT_EQ(picker.closing().cod, " E0102");
}

TEST_F(AccountPickerTest, AReleasedChartCanBeEditedExclusivelyAndIsReadAgain) {
    AccountPicker picker(chart(), " A0101", " C0101", false);
    picker.startSearch();
    picker.releaseChart();
    EXPECT_FALSE(picker.searching());
    {
        storage::Cursor editor(chart(), storage::OpenMode::Exclusive);
        editor.append();
        editor.setText(storage::chart::kCod, " A0150");
        editor.setText(storage::chart::kText, "Nuovo sottoconto");
        editor.post();
    }
    picker.synchronise();
    EXPECT_EQ(codes(picker.column(PickerList::SubAccount)),
              (std::vector<std::string>{" A0101", " A0102", " A0150", " A0195"}));
    EXPECT_EQ(picker.account(), " A0101");
}

TEST(WriteChoice, StoresAccountAndCashBox) {
    test::TempDir dir;
    const std::filesystem::path path = dir / "kr201501.dbf";
    test::makeJournal(path, {{1, test::ymd(2015, 1, 2), " A0101", " C0101", "x", 0, 10, 1, 0}});
    {
        storage::Cursor journal(path, storage::OpenMode::Shared);
        journal.first();
        writeChoice(journal, {" P0101", " P0101"});
    }
    storage::Cursor reread(path, storage::OpenMode::Shared);
    reread.first();
    EXPECT_EQ(reread.asText(storage::journal::kCod), " P0101");
    EXPECT_EQ(reread.asText(storage::journal::kCodd), " P0101");
}

}  // namespace
}  // namespace quendra::accounts
