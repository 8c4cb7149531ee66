#include "printing/selection_queries.h"

#include "storage/query/query.h"
#include "support/chart_fixture.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace quendra;
using namespace quendra::printing;
using quendra::test::Movement;
using quendra::test::ymd;

namespace {

struct Year {
    test::TempDir dir;
    std::filesystem::path journal = dir / "kr202601.dbf";
    std::filesystem::path chart = dir / "kw202601.dbf";

    Year() {
        test::makeJournal(journal, {
                                       {1, ymd(2026, 1, 2), " A0701", " C0101", "Luce chiesa", 0, 50, 1},
                                       {2, ymd(2026, 1, 2), " A0702", " C0201", "Fiori", 0, 20, 1},
                                       {3, ymd(2026, 3, 1), " A0701", " C0201", "LUCE canonica", 0, 70, 1},
                                       {4, ymd(2026, 2, 1), " E0101", " C0101", "Offerte", 90, 0, 2},
                                       {5, ymd(2026, 1, 2), " A0701", " C0101", "Pulizie", 0, 5, 1},
                                       {6, ymd(2026, 5, 1), " A0801", " C0101", "luce sala", 0, 8, 1},
                                   });
        test::makeChart(chart, {{.cod = "  PFAR", .text = "San Vito"},
                                {.cod = " C0101", .text = "Cassa parrocchiale", .texth = "Cassa"},
                                {.cod = " C0201", .text = "Conto Banca", .texth = "Banche"},
                                {.cod = " P0101", .text = "Mutuo", .texth = "Debiti"},
                                {.cod = " A0701", .text = "Energia", .texth = "Culto"},
                                {.cod = "HA0700", .text = "Culto", .texth = "Culto"},
                                {.cod = "HC0100", .text = "Cassa", .texth = "Cassa"}});
    }

};

}  // namespace

TEST(SelectionQueries, AvailableListsShowMainAccountsOrAssetAndLiabilitySubAccounts) {
    Year year;
    EXPECT_EQ(availableLines(SelectionKind::Accounts, year.chart),
              (std::vector<std::string>{"A07 - Culto", "C01 - Cassa"}));
    EXPECT_EQ(availableLines(SelectionKind::CashBoxes, year.chart),
              (std::vector<std::string>{"C0101 - Cassa / Cassa parrocchiale", "C0201 - Banche / Conto Banca",
                                        "P0101 - Debiti / Mutuo"}));
    EXPECT_EQ(lineKey(SelectionKind::Accounts, "A07 - Culto"), "A07");
    EXPECT_EQ(lineKey(SelectionKind::CashBoxes, "C0101 - Cassa / Cassa parrocchiale"), "C0101");
}

TEST(SelectionQueries, JournalRangeDefaults) {
    Year year;
    const auto numbers = journalRangeDefaults(year.journal, false);
    EXPECT_EQ(numbers.first, "1");
    EXPECT_EQ(numbers.last, "6");
    const auto dates = journalRangeDefaults(year.journal, true);
    EXPECT_EQ(dates.first, "02.01.2026");
    EXPECT_EQ(dates.last, "01.05.2026");
    test::makeJournal(year.dir / "kr202602.dbf", {});
    EXPECT_EQ(journalRangeDefaults(year.dir / "kr202602.dbf", false).last, "");
}
