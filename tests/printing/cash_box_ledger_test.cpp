#include "printing/cash_box_ledger.h"
#include "support/report_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

using namespace quendra;
using namespace quendra::printing;
using test::joinedLines;
using test::linesWith;
using test::Movement;
using test::ymd;

// The cash box moves all year; the bank only in the first quarter.
std::vector<Movement> year() {
    return {
        {1, ymd(2026, 1, 1), " C0101", " C0101", "Riporto: ", 500, 0, 2, 2},
        {2, ymd(2026, 2, 3), " E0101", " C0101", "offerte", 80, 0, 2, 0},
        {3, ymd(2026, 2, 4), " A0101", " C0201", "luce", 0, 45, 1, 0},
        {4, ymd(2026, 3, 31), " A0102", " C0201", "gas", 0, 12, 1, 0},
        {5, ymd(2026, 4, 1), " A0101", " C0101", "luce aprile", 0, 20, 1, 0},
        {6, ymd(2026, 5, 9), " E0102", " C0101", "colletta", 35.5, 0, 2, 0},
        {7, ymd(2026, 12, 31), " E0101", " C0101", "dopo la fine", 1, 0, 2, 0},
    };
}

class CashBoxLedger : public test::ReportTest {
protected:
    void print(ReportOptions options, bool accounts = false, SelectionOption selection = SelectionOption::None) {
        rig_.state.kind = ReportKind::AllMovements;
        rig_.state.cashBoxMode = true;
        rig_.state.accountChoiceMode = accounts;
        rig_.state.option = selection;
        rig_.state.detailLines = options.details;
        runReport(runCashBoxLedger, year(), options);
    }
};

TEST_F(CashBoxLedger, DateFromAprilCarriesEarlierRowsAndABoxWithOnlyEarlierRowsKeepsItsLines) {
    ReportOptions options;
    options.cashBoxes = {"C0101", "C0201"};
    options.details = true;
    options.from = ymd(2026, 4, 1);
    options.to = ymd(2026, 12, 30);
    print(options, false, SelectionOption::DateRange);
    test::expectGolden("ledger_cash_boxes_from_april.txt", rig_.dump());
    EXPECT_EQ(linesWith(pages(), "RIPORTO "),
              (std::vector<std::string>{"RIPORTO  | 580,00", "RIPORTO  | 57,00"}));
    EXPECT_EQ(linesWith(pages(), "Somma sottoconti:"),
              (std::vector<std::string>{"Somma sottoconti: | (dif.: | 595,50) | 615,50 | 20,00",
                                        "Somma sottoconti: | (dif.: | -57,00) | 57,00"}));
    EXPECT_EQ(linesWith(pages(), "luce aprile").size(), 1u);
    EXPECT_TRUE(linesWith(pages(), "| offerte").empty()) << "rows before April only in the carry";
    EXPECT_TRUE(linesWith(pages(), "dopo la fine").empty());
    EXPECT_EQ(linesWith(pages(), "(C0201) - sottoconto: Banca Alfa").size(), 1u);
    EXPECT_EQ(linesWith(pages(), "TOTALE: "),
              (std::vector<std::string>{"TOTALE:  | (dif.: | 538,50) | 615,50 | 77,00"}));
    EXPECT_FALSE(std::filesystem::exists(rig_.year.dataDir / "temp.dbf")) << "no scratch table beside the year";
}

TEST_F(CashBoxLedger, WithoutDetailsOnlyHeadingsAndSumsPrint) {
    ReportOptions options;
    options.cashBoxes = {"C0201"};
    print(options);
    const auto lines = joinedLines(pages());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], "(C0201) - sottoconto: Banca Alfa");
    EXPECT_EQ(lines[3], "  No | Data | codice  -  (cassa) | oggetto | entrate | uscite");
    EXPECT_EQ(lines[4], "Somma sottoconti: | (dif.: | -57,00) | 57,00");
    EXPECT_EQ(lines[5], "TOTALE:  | (dif.: | -57,00) | 57,00");
}

TEST_F(CashBoxLedger, ChosenAccountsGroupBySubAccountWithTheTextOption) {
    ReportOptions options;
    options.accounts = {"A01", "\" or 1=1 or \""};
    options.details = true;
    options.text = "LUCE";
    print(options, true, SelectionOption::Text);
    test::expectGolden("ledger_account_a01_luce.txt", rig_.dump());
    EXPECT_EQ(linesWith(pages(), "sottoconto: "), (std::vector<std::string>{"(A0101) - sottoconto: Luce"}));
    EXPECT_EQ(linesWith(pages(), "luce").size(), 2u);
    EXPECT_EQ(linesWith(pages(), "TOTALE: "), (std::vector<std::string>{"TOTALE:  | (dif.: | -65,00) | 65,00"}));
}

TEST_F(CashBoxLedger, NothingChosenPrintsHeaderAndTotal) {
    print({});
    const auto lines = joinedLines(pages());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "TOTALE:  | (dif.: | )");
}

TEST_F(CashBoxLedger, NumbersAsDateBoundsAreRefusedBeforeDrawing) {
    ReportOptions options;
    options.cashBoxes = {"C0101"};
    options.from = 4LL;
    EXPECT_THROW(print(options, false, SelectionOption::DateRange), std::invalid_argument);
    EXPECT_TRUE(joinedLines(pages()).empty());
}

}  // namespace
