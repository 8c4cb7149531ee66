#include "printing/statement_listing.h"
#include "support/report_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace quendra;
using namespace quendra::printing;
using test::linesWith;
using test::Movement;
using test::ymd;

// The cash box's opening, income, expenses on two main accounts (one of them nets to
// zero), a loan received into the bank, securities bought from the cash box.
std::vector<Movement> year() {
    return {
        {1, ymd(2026, 1, 1), " C0101", " C0101", "Riporto: ", 500, 0, 2, 2},
        {2, ymd(2026, 1, 3), " E0101", " C0101", "Offerte LUCE votiva", 80, 0, 2, 0},
        {3, ymd(2026, 1, 4), " A0101", " C0101", "bolletta Luce", 0, 45, 1, 0},
        {4, ymd(2026, 2, 1), " A0102", " C0201", "gas", 0, 12, 1, 0},
        {5, ymd(2026, 2, 2), " P0201", " C0201", "prestito", 1000, 0, 2, 0},
        {6, ymd(2026, 2, 3), " C0501", " C0101", "acquisto titoli", 0, 200, 1, 0},
        {7, ymd(2026, 3, 1), " A0201", " C0101", "riparazione", 0, 30, 1, 0},
        {8, ymd(2026, 3, 2), " A0201", " C0101", "rimborso riparazione", 30, 0, 2, 0},
    };
}

class StatementListing : public test::ReportTest {
protected:
    void print(ReportKind kind, ReportOptions options = {}, SelectionOption selection = SelectionOption::None) {
        rig_.state.kind = kind;
        rig_.state.option = selection;
        runReport(runStatementListing, year(), options);
    }
};

TEST_F(StatementListing, AllMovementsShowsEveryRowAndTheClosingFigures) {
    print(ReportKind::AllMovements);
    test::expectGolden("statement_all_movements.txt", rig_.dump());
    EXPECT_EQ(linesWith(pages(), "  No").size(), 9u) << "a column header under every sub-account heading";
    EXPECT_EQ(linesWith(pages(), "riparazione").size(), 2u);
    const auto sums = linesWith(pages(), "SOMMA   ");
    ASSERT_EQ(sums.size(), 5u);
    EXPECT_TRUE(sums[0].ends_with(" | 80,00"));
    EXPECT_TRUE(sums[1].ends_with(" | -57,00"));
    EXPECT_TRUE(sums[2].ends_with(" | 1.300,00")) << "the loan and the cash box's opening count as liquidity";
    EXPECT_TRUE(sums[3].ends_with(" | 200,00")) << "securities bought: the assets' sign turns them positive";
    EXPECT_TRUE(sums[4].ends_with(" | -1.000,00")) << "the loan again, with the liabilities' sign";
    EXPECT_TRUE(linesWith(pages(), "SALDO entrate/uscite")[0].ends_with(" | 23,00"));
    EXPECT_TRUE(linesWith(pages(), "TOTALE liquidità")[0].ends_with(" | 1.323,00"));
    EXPECT_TRUE(linesWith(pages(), "TOTALE stato patrimoniale")[0].ends_with(" | 523,00"));
    EXPECT_DOUBLE_EQ(rig_.state.grand.income, 0) << "the listing leaves its sums at zero";
}

TEST_F(StatementListing, AccountsAndSubAccountsShowSumsWithoutRows) {
    print(ReportKind::AccountsAndSubs);
    test::expectGolden("statement_accounts_and_subs.txt", rig_.dump());
    EXPECT_TRUE(linesWith(pages(), "  No").empty());
    EXPECT_TRUE(linesWith(pages(), "riparazione").empty());
    EXPECT_EQ(linesWith(pages(), ") - sottoconto: ").size(), 9u);
    EXPECT_EQ(linesWith(pages(), "Somma sottoconti:").size(), 9u);
    EXPECT_EQ(linesWith(pages(), "(A01) - conto: Utenze").size(), 1u);
    EXPECT_EQ(linesWith(pages(), "Somma conti: Utenze"), (std::vector<std::string>{"Somma conti: Utenze  | 57,00"}));
    EXPECT_TRUE(linesWith(pages(), "Somma conti: Spese ordinarie").empty()) << "A02 nets to zero";
    EXPECT_EQ(linesWith(pages(), "(A02) - conto: Spese ordinarie").size(), 1u);
}

TEST_F(StatementListing, AccountsOnlyShowsMainAccountsAndTheirSums) {
    print(ReportKind::AccountsOnly);
    test::expectGolden("statement_accounts_only.txt", rig_.dump());
    EXPECT_TRUE(linesWith(pages(), "sottoconto").empty());
    EXPECT_TRUE(linesWith(pages(), "Somma sottoconti").empty());
    EXPECT_EQ(linesWith(pages(), ") - conto: ").size(), 8u);
    EXPECT_EQ(linesWith(pages(), "Somma conti: ").size(), 7u);
    EXPECT_EQ(linesWith(pages(), "TOTALE stato patrimoniale").size(), 1u);
}

TEST_F(StatementListing, TextOptionNarrowsIncomeAndExpenseAndEndsThere) {
    ReportOptions options;
    options.text = "lUCe";
    print(ReportKind::AllMovements, options, SelectionOption::Text);
    const auto lines = test::joinedLines(pages());
    EXPECT_EQ(linesWith(pages(), "Offerte LUCE votiva").size(), 1u);
    EXPECT_EQ(linesWith(pages(), "bolletta Luce").size(), 1u);
    EXPECT_TRUE(linesWith(pages(), "gas").empty());
    EXPECT_EQ(linesWith(pages(), "SOMMA   ").size(), 2u);
    EXPECT_TRUE(linesWith(pages(), "SALDO").empty());
    EXPECT_TRUE(linesWith(pages(), "TOTALE").empty());
    EXPECT_TRUE(linesWith(pages(), "Altre liquidità").empty());
}

TEST_F(StatementListing, DateOptionTakesBothDaysAndRefusesNumbers) {
    ReportOptions options;
    options.from = ymd(2026, 1, 4);
    options.to = ymd(2026, 2, 1);
    print(ReportKind::AllMovements, options, SelectionOption::DateRange);
    EXPECT_TRUE(linesWith(pages(), "Entrate").empty()) << "an empty section prints nothing";
    EXPECT_EQ(linesWith(pages(), "SOMMA   ").size(), 1u);
    EXPECT_TRUE(linesWith(pages(), "SOMMA   ")[0].ends_with(" | -57,00"));

    ReportOptions numbers;
    numbers.from = 3LL;
    rig_.state.option = SelectionOption::DateRange;
    EXPECT_THROW(statementOptionOf(SelectionOption::DateRange, numbers), std::invalid_argument);
}

TEST_F(StatementListing, EmptyJournalPrintsOnlyThePageHeader) {
    rig_.state.kind = ReportKind::AccountsOnly;
    runReport(runStatementListing, {}, {});
    const auto lines = test::joinedLines(pages());
    ASSERT_EQ(lines.size(), 6u) << lines[0];
    EXPECT_EQ(lines[0], "QUENDRA: San Vito (Borgo Alto) - 2026/01");
    EXPECT_TRUE(lines[2].starts_with("SALDO entrate/uscite"));
}

}  // namespace
