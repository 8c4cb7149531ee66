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

    std::vector<long long> numbers(const SelectionQuery& query) const {
        const auto rows = storage::runSelect(query.sql, query.params);
        std::vector<long long> out;
        for (rows->first(); !rows->eof(); rows->next()) out.push_back(rows->asInteger("Nummer"));
        return out;
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

TEST(SelectionQueries, TwoCashBoxesWithoutOption) {
    Year year;
    const auto query =
        selectionQuery(SelectionKind::CashBoxes, SelectionOption::None, {"C0101", "C0201"}, year.journal, year.dir.path(), "");
    EXPECT_EQ(query.sql, "select * from \"" + year.journal.string() +
                             R"(" where (codd = " C0101") or (codd = " C0201") order by codd,datum,nummer)");
    EXPECT_EQ(year.numbers(query), (std::vector<long long>{1, 5, 4, 6, 2, 3}));
}

TEST(SelectionQueries, AccountGroupWithTextOptionMatchesAnyCase) {
    Year year;
    const auto query =
        selectionQuery(SelectionKind::Accounts, SelectionOption::Text, {"A07"}, year.journal, year.dir.path(), "luce");
    EXPECT_EQ(query.sql, "select * from \"" + year.journal.string() +
                             R"(" where (upper(text) like "%" || :t || "%") and ((cod like " A07%")) order by cod,datum,nummer)");
    EXPECT_EQ(year.numbers(query), (std::vector<long long>{1, 3}));
    // A typed quote is data, not query text.
    EXPECT_TRUE(year.numbers(selectionQuery(SelectionKind::Accounts, SelectionOption::Text, {"A07"}, year.journal,
                                            year.dir.path(), "\" or 1=1 or \""))
                    .empty());
}

TEST(SelectionQueries, DateOptionReadsTheScratchCopyOfTheRange) {
    Year year;
    writeDateScratch(year.journal, year.dir.path(), ymd(2026, 1, 2), ymd(2026, 3, 1));
    const auto query =
        selectionQuery(SelectionKind::CashBoxes, SelectionOption::DateRange, {"C0101"}, year.journal, year.dir.path(), "");
    EXPECT_EQ(query.sql, "select * from \"" + (year.dir / "temp.dbf").string() +
                             R"(" where (codd = " C0101") order by codd,datum)");
    // Number 6 (May) is outside; 1 and 5 share account and date and keep their order.
    EXPECT_EQ(year.numbers(query), (std::vector<long long>{1, 5, 4}));
    // A second run replaces the scratch table.
    writeDateScratch(year.journal, year.dir.path(), ymd(2026, 2, 1), ymd(2026, 12, 31));
    EXPECT_EQ(year.numbers(query), (std::vector<long long>{4, 6}));
}

TEST(SelectionQueries, EmptySelectionHasNoRows) {
    Year year;
    EXPECT_TRUE(year.numbers({emptySelectionQuery(year.journal), {}}).empty());
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
