#include "printing/journal_report.h"
#include "support/report_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace quendra;
using namespace quendra::printing;
using test::linesWith;
using test::Movement;
using test::ymd;

// A small year: the cash box's opening row (listed), a loan's opening row (only in the
// closing section), income, expense, a repayment, securities bought, a row typed as an
// opening one, gas paid from the bank.
std::vector<Movement> smallYear() {
    return {
        {1, ymd(2026, 1, 1), " C0101", " C0101", "Riporto: ", 500, 0, 2, 2},
        {2, ymd(2026, 1, 1), " P0201", " P0201", "Riporto: mutuo", 800, 0, 2, 2},
        {3, ymd(2026, 1, 2), " E0101", " C0101", "Offerte domenicali", 120, 0, 2, 0},
        {4, ymd(2026, 1, 5), " A0101", " C0101", "Bolletta luce", 0, 45.5, 1, 0},
        {5, ymd(2026, 1, 10), " P0201", " C0201", "Rata mutuo", 0, 100, 1, 0},
        {6, ymd(2026, 1, 15), " C0501", " C0201", "Acquisto titoli", 0, 300, 1, 0},
        {7, ymd(2026, 1, 20), " E0102", " C0101", "Colletta", 30, 0, 2, 1},
        {8, ymd(2026, 2, 3), " A0102", " C0201", "Gas", 0, 60, 1, 0},
    };
}

class JournalReport : public test::ReportTest {
protected:
    void print(const std::vector<Movement>& rows, ReportOptions options, bool onScreen = false) {
        rig_.state.kind = ReportKind::Journal;
        runReport(runJournal, rows, options, onScreen);
    }
    static ReportOptions numbers(long long from, long long to) {
        ReportOptions options;
        options.from = from;
        options.to = to;
        return options;
    }
};

TEST_F(JournalReport, WholeYearListsCashBoxOpeningAndLeavesLiabilityOpeningToItsSection) {
    print(smallYear(), numbers(1, 8));
    test::expectGolden("journal_small_year.txt", rig_.dump());
    EXPECT_TRUE(linesWith(pages(), "RIPORTO").empty()) << "nothing before the range";
    EXPECT_EQ(linesWith(pages(), "TOTALE: "),
              (std::vector<std::string>{"TOTALE:  | (dif.: | 144,50) | 650,00 | 505,50"}));
    EXPECT_EQ(linesWith(pages(), "Riporto: "),
              (std::vector<std::string>{"1 | 01.01.2026 | C0101 - (C0101) | Riporto:  | 500,00",
                                        "2 | 01.01.2026 | P0201 - (P0201) | Riporto: mutuo  | 800,00"}))
        << "the cash box's opening in the body, the loan's only in PASSIVITÀ, its income under uscite";
    EXPECT_EQ(linesWith(pages(), "Colletta").size(), 1u);
    EXPECT_EQ(linesWith(pages(), "(prima apertura) - Colletta").size(), 1u) << "eroeffnung 1 only";
    EXPECT_EQ(linesWith(pages(), "SOMMA PASSIVITÀ"), (std::vector<std::string>{"SOMMA PASSIVITÀ  | 700,00"}));
    EXPECT_EQ(linesWith(pages(), "SOMMA ATTIVITÀ."), (std::vector<std::string>{"SOMMA ATTIVITÀ. | 300,00"}))
        << "assets netting negative print without sign";
}

TEST_F(JournalReport, RangeFromFiftyOpensWithTheCarryOverAndTotalsTheWholeYear) {
    std::vector<Movement> rows;
    for (int n = 1; n <= 60; ++n) {
        rows.push_back({n, ymd(2026, 1, 1 + n % 28), n % 3 ? " E0101" : " A0101", " C0101", "Movimento " + std::to_string(n),
                        n % 3 ? 10.0 * n : 0, n % 3 ? 0 : 1.25 * n, n % 3 ? 2 : 1, 0});
    }
    rows.push_back({61, ymd(2026, 1, 2), " C0501", " C0501", "titoli", 999, 0, 2, 2});
    print(rows, numbers(50, 61));
    // Rows 1-49: income 10 × (1+2+4+5+…+49) = 8.170,00; expense 1,25 × (3+6+…+48) = 510,00.
    const auto carry = linesWith(pages(), "RIPORTO");
    ASSERT_EQ(carry.size(), 1u);
    EXPECT_EQ(carry[0], "RIPORTO | (dif.: | 7.660,00) | 8.170,00 | 510,00");
    // Rows 50-60 add income 10 × (50+52+53+55+56+58+59) = 3.830,00 and expense 1,25 × (51+54+57+60) = 277,50.
    EXPECT_EQ(linesWith(pages(), "TOTALE: "),
              (std::vector<std::string>{"TOTALE:  | (dif.: | 11.212,50) | 12.000,00 | 787,50"}));
    EXPECT_EQ(linesWith(pages(), "| titoli").size(), 1u) << "the self-booked asset shows only in ATTIVITÀ";
    test::expectGolden("journal_from_50.txt", rig_.dump());
}

TEST_F(JournalReport, CarryOverThatNetsToZeroPrintsNoOpeningLine) {
    print({{1, ymd(2026, 1, 1), " E0101", " C0101", "entrata", 100, 0, 2, 0},
           {2, ymd(2026, 1, 2), " A0101", " C0101", "uscita", 0, 100, 1, 0},
           {3, ymd(2026, 1, 3), " E0101", " C0101", "offerta", 5, 0, 2, 0}},
          numbers(3, 3));
    EXPECT_TRUE(linesWith(pages(), "RIPORTO").empty());
    EXPECT_EQ(linesWith(pages(), "TOTALE: "), (std::vector<std::string>{"TOTALE:  | (dif.: | 5,00) | 105,00 | 100,00"}));
}

TEST_F(JournalReport, LiabilitiesNettingToZeroOrBelowPrintNoSection) {
    print({{1, ymd(2026, 1, 1), " P0201", " C0201", "mutuo", 100, 0, 2, 0},
           {2, ymd(2026, 1, 2), " P0201", " C0201", "rata", 0, 100, 1, 0},
           {3, ymd(2026, 1, 3), " P0201", " C0201", "rata in più", 0, 0.01, 1, 0}},
          numbers(1, 3));
    EXPECT_TRUE(linesWith(pages(), "PASSIVITÀ").empty());
    EXPECT_TRUE(linesWith(pages(), "ATTIVITÀ").empty());
}

TEST_F(JournalReport, EmptyRangePrintsTitleHeaderCarryAndTotal) {
    print(smallYear(), numbers(20, 30));
    const auto lines = test::joinedLines(pages());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Giornale della parrocchia: San Vito, Borgo Alto - esercizio 2026/01");
    EXPECT_EQ(lines[1], "  No | Data | codice  -  (cassa) | oggetto | entrate | uscite");
    EXPECT_EQ(lines[2], "RIPORTO | (dif.: | 144,50) | 650,00 | 505,50");
    EXPECT_EQ(lines[3], "TOTALE:  | (dif.: | 144,50) | 650,00 | 505,50");
    EXPECT_TRUE(linesWith(pages(), "Mutuo").empty()) << "closing sections list only the range's rows";
}

TEST_F(JournalReport, DateRangeListsByDateThenNumberAfterTheEarlierRows) {
    print({{1, ymd(2026, 3, 20), " E0101", " C0101", "terzo", 3, 0, 2, 0},
           {2, ymd(2026, 2, 27), " E0101", " C0101", "prima di marzo", 7, 0, 2, 0},
           {3, ymd(2026, 3, 1), " E0101", " C0101", "primo", 1, 0, 2, 0},
           {4, ymd(2026, 3, 1), " E0101", " C0101", "secondo", 2, 0, 2, 0},
           {5, ymd(2026, 4, 1), " E0101", " C0101", "dopo", 9, 0, 2, 0}},
          [] {
              ReportOptions options;
              options.from = ymd(2026, 3, 1);
              options.to = ymd(2026, 3, 31);
              return options;
          }());
    const auto lines = test::joinedLines(pages());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2], "RIPORTO | (dif.: | 7,00) | 7,00");
    EXPECT_EQ(lines[3], "3 | 01.03.2026 | E0101 - (C0101) | primo  | 1,00");
    EXPECT_EQ(lines[4], "4 | 01.03.2026 | E0101 - (C0101) | secondo  | 2,00");
    EXPECT_EQ(lines[5], "1 | 20.03.2026 | E0101 - (C0101) | terzo  | 3,00");
    EXPECT_EQ(lines[6], "TOTALE:  | (dif.: | 13,00) | 13,00");
    EXPECT_EQ(lines[7], "- 1 -");
}

TEST_F(JournalReport, ANumberAndADateMakeNoRangeAndNothingIsDrawn) {
    ReportOptions options;
    options.from = 1LL;
    options.to = ymd(2026, 3, 1);
    try {
        print(smallYear(), options);
        FAIL() << "a mixed range must be refused";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Il giornale si stampa fra due numeri di movimento o fra due date, non fra un numero e una data.");
    }
    EXPECT_TRUE(test::joinedLines(pages()).empty());
}

std::vector<Movement> longYear(int count) {
    std::vector<Movement> rows;
    for (int n = 1; n <= count; ++n) {
        rows.push_back({n, ymd(2026, 1 + n % 12, 1 + n % 28), " E0101", " C0101", "Offerta " + std::to_string(n),
                        n + 0.25, n % 5 ? 0 : 3.5, 2, 0});
    }
    return rows;
}

TEST_F(JournalReport, EveryPaperPageEndsWithSommaAndTheNextOpensWithTheSameFigures) {
    print(longYear(150), numbers(1, 150));
    ASSERT_GE(pages().size(), 3u);
    for (std::size_t p = 0; p + 1 < pages().size(); ++p) {
        const auto closing = test::joinedLines({pages()[p]});
        const auto opening = test::joinedLines({pages()[p + 1]});
        const std::string& somma = closing[closing.size() - 2];
        ASSERT_EQ(somma.rfind("SOMMA | ", 0), 0u) << somma;
        EXPECT_EQ(closing.back(), "- " + std::to_string(p + 1) + " -");
        ASSERT_GE(opening.size(), 3u);
        EXPECT_EQ(opening[2], "RIPORTO" + somma.substr(5)) << "page " << p + 2;
    }
    test::expectGolden("journal_three_pages.txt", rig_.dump());
}

// Margins a settings file may still bring: a page shorter than the journal's heading
// holds one row per page and the job ends.
TEST_F(JournalReport, APageShorterThanItsHeadingStillEnds) {
    rig_.year.settings.topMargin = -150;
    rig_.year.settings.bottomMargin = -160;
    print(longYear(5), numbers(1, 5));
    EXPECT_GE(pages().size(), 5u);
    EXPECT_LE(pages().size(), 20u);
    EXPECT_EQ(linesWith(pages(), "TOTALE: ").size(), 1u);
}

TEST_F(JournalReport, StoppedPreviewDrawsNothingMoreButFinishesItsSums) {
    rig_.pager.answers = {false};
    print(longYear(150), numbers(1, 150), true);
    const auto lines = test::joinedLines(pages());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("RIPORTO | ", 0), 0u) << "the screen page closes with its carry line";
    EXPECT_TRUE(linesWith(pages(), "TOTALE").empty());
    EXPECT_EQ(rig_.pager.endWaits, 0);
    EXPECT_DOUBLE_EQ(rig_.state.grand.income, 150 * 151 / 2 + 150 * 0.25);
    EXPECT_DOUBLE_EQ(rig_.state.grand.expense, 30 * 3.5);
}

TEST_F(JournalReport, ScreenPagesCloseWithRiportoAndOpenWithUebertrag) {
    print(longYear(60), numbers(1, 60), true);
    EXPECT_GE(rig_.pager.pageWaits, 1);
    const auto carries = linesWith(pages(), "RIPORTO | ");
    const auto openings = linesWith(pages(), "ÜBERTRAG | ");
    ASSERT_EQ(carries.size(), openings.size());
    for (std::size_t i = 0; i < carries.size(); ++i) EXPECT_EQ("ÜBERTRAG" + carries[i].substr(7), openings[i]);
    EXPECT_EQ(rig_.pager.endWaits, 1);
}

}  // namespace
