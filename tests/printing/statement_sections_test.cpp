#include "printing/statement_sections.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using namespace quendra;
using namespace quendra::printing;
using test::ymd;

class StatementSections : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeJournal(path_, {
            {1, ymd(2024, 1, 1), " C0101", " C0101", "Riporto: ", 300, 0, 2, 2},
            {2, ymd(2024, 1, 1), " C0501", " C0501", "Riporto: titoli", 0, 0, 2, 2},
            {3, ymd(2024, 2, 3), " E0101", " C0101", "Offerte LUCE votiva", 80, 0, 2, 0},
            {4, ymd(2024, 2, 4), " A0101", " C0101", "bolletta Luce", 0, 45, 1, 0},
            {5, ymd(2024, 3, 1), " A0102", " C0201", "gas", 0, 12, 1, 0},
            {6, ymd(2024, 3, 2), " P0201", " C0201", "prestito", 1000, 0, 2, 0},
            {7, ymd(2024, 3, 3), " C0501", " C0101", "acquisto titoli", 0, 200, 1, 0},
            {8, ymd(2024, 4, 9), " E0101", " C0801", "offerta in titoli", 50, 0, 2, 0},
        });
    }

    // Section number -> the movement numbers it lists.
    std::map<int, std::vector<int>> listed(const StatementOption& option) const {
        std::map<int, std::vector<int>> result;
        for (const StatementSection& section : statementSections()) {
            const BoundQuery query = sectionQuery(path_, section, option);
            const auto rows = storage::runSelect(query.sql, query.params);
            for (rows->first(); !rows->eof(); rows->next()) {
                result[section.number].push_back(int(rows->asInteger(storage::journal::kNummer)));
            }
        }
        return result;
    }

    test::TempDir dir_;
    std::filesystem::path path_ = dir_ / "kr202401.dbf";
};

TEST_F(StatementSections, EachSectionTakesItsRowsWithItsSign) {
    const auto sections = listed({});
    EXPECT_EQ(sections.at(2), (std::vector<int>{3}));
    EXPECT_EQ(sections.at(3), (std::vector<int>{4, 5}));
    EXPECT_EQ(sections.at(4), (std::vector<int>{1, 7, 6})) << "cash-box opening and the loan, through a cash box";
    EXPECT_EQ(sections.at(5), (std::vector<int>{2, 7})) << "income booked into an asset is in no section";
    EXPECT_EQ(sections.at(6), (std::vector<int>{6})) << "the loan again, to cancel with section 4";
    std::vector<int> signs;
    for (const StatementSection& s : statementSections()) signs.push_back(s.sign);
    EXPECT_EQ(signs, (std::vector<int>{1, 1, 1, -1, -1}));
}

TEST_F(StatementSections, TextOptionMatchesAnyCaseAndOnlyNarrowsIncomeAndExpense) {
    const auto sections = listed(TextOption{"lUce"});
    EXPECT_EQ(sections.at(2), (std::vector<int>{3}));
    EXPECT_EQ(sections.at(3), (std::vector<int>{4}));
    EXPECT_EQ(sections.at(4).size(), 3u);

    const auto quoteInText = listed(TextOption{"\") or (1=1"});
    EXPECT_FALSE(quoteInText.contains(2));
    EXPECT_FALSE(quoteInText.contains(3));
}

TEST_F(StatementSections, DateOptionIncludesBothDays) {
    const auto sections = listed(DateRange{ymd(2024, 2, 4), ymd(2024, 3, 1)});
    EXPECT_FALSE(sections.contains(2));
    EXPECT_EQ(sections.at(3), (std::vector<int>{4, 5}));
}

}  // namespace
