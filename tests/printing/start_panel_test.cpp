#include "printing/start_panel.h"

#include <gtest/gtest.h>

using namespace quendra::printing;

TEST(StartPanel, ResetGivesAllMovementsWithoutOptionOnScreen) {
    PrintState state;
    state.kind = ReportKind::Journal;
    state.cashBoxMode = state.accountChoiceMode = state.detailLines = true;
    state.option = SelectionOption::DateRange;
    state.target = OutputTarget::Printer;
    resetStartState(state);
    EXPECT_EQ(state.kind, ReportKind::AllMovements);
    EXPECT_FALSE(state.cashBoxMode || state.accountChoiceMode || state.detailLines);
    EXPECT_EQ(state.option, SelectionOption::None);
    EXPECT_EQ(state.target, OutputTarget::Screen);
    EXPECT_EQ(reportNameFor(state), "movimenti");
}

TEST(StartPanel, EachReportButtonGivesItsKindAndReport) {
    const auto run = [](StartPanelChoice choice) {
        PrintState state;
        resetStartState(state);
        applyStartPanel(choice, state);
        return state;
    };
    EXPECT_EQ(reportNameFor(run({.journal = true})), "giornale");
    EXPECT_EQ(run({.journal = true}).kind, ReportKind::Journal);
    EXPECT_EQ(reportNameFor(run({.accountsAndSubs = true})), "sottoconti");
    EXPECT_EQ(reportNameFor(run({.accountsOnly = true})), "conti");
    EXPECT_EQ(reportNameFor(run({.chartListing = true, .output = OutputTarget::Pdf})), "piano");
    EXPECT_EQ(run({.chartListing = true, .output = OutputTarget::Pdf}).target, OutputTarget::Pdf);
    EXPECT_EQ(run({.annualReport = true}).kind, ReportKind::AnnualReport);

    // "situazione &liquidita" keeps kind 0 (its ledger runs as the movement listing).
    const PrintState cash = run({.cashBoxes = true, .option = SelectionOption::Text});
    EXPECT_TRUE(cash.cashBoxMode);
    EXPECT_FALSE(cash.accountChoiceMode);
    EXPECT_EQ(cash.kind, ReportKind::AllMovements);
    EXPECT_EQ(cash.option, SelectionOption::Text);
    EXPECT_EQ(reportNameFor(cash), "liquidita");

    // "estratto &conto a scelta" sets both modes: the last step of the order sets cash-box mode.
    const PrintState accounts = run({.accountChoice = true});
    EXPECT_TRUE(accounts.cashBoxMode);
    EXPECT_TRUE(accounts.accountChoiceMode);
    EXPECT_EQ(reportNameFor(accounts), "estratto");
}
