#include "printing/journal_range.h"
#include "printing/journal_rules.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using namespace quendra;
using namespace quendra::printing;
using test::Movement;
using test::ymd;

TEST(JournalRangeReading, NumbersAndDatesAreReadAndAnythingElseIsAnItalianMessage) {
    const auto numbers = readJournalRange({false, " 50 ", "240"});
    ASSERT_TRUE(numbers.ok());
    EXPECT_EQ(std::get<NumberRange>(numbers.range).from, 50);
    EXPECT_EQ(std::get<NumberRange>(numbers.range).to, 240);

    const auto dates = readJournalRange({true, "01.03.2024", "31.03.2024"});
    ASSERT_TRUE(dates.ok());
    EXPECT_EQ(std::get<DateRange>(dates.range).from, ymd(2024, 3, 1));
    EXPECT_EQ(std::get<DateRange>(dates.range).to, ymd(2024, 3, 31));

    EXPECT_EQ(readJournalRange({false, "1", "24a"}).error,
              "Il campo \"a numero\" deve contenere un numero di movimento.");
    EXPECT_EQ(readJournalRange({true, "32.13.2024", "31.12.2024"}).error,
              "Il campo \"data di inizio\" deve contenere una data nel formato gg.mm.aaaa.");
    EXPECT_FALSE(readJournalRange({true, "01.01.2024", "1) or (1=1"}).ok());
}

// An empty field reaches to the journal's start or end (a year without movements offers
// "1" and ""); a reversed range is refused wherever it comes from.
TEST(JournalRangeReading, EmptyFieldsAreOpenAndReversedRangesAreRefused) {
    const auto open = readJournalRange({false, "1", ""});
    ASSERT_TRUE(open.ok());
    EXPECT_GT(std::get<NumberRange>(open.range).to, 1'000'000'000);
    const auto noDates = readJournalRange({true, " .  . ", ""});
    ASSERT_TRUE(noDates.ok());
    EXPECT_LT(std::get<DateRange>(noDates.range).from, ymd(1900, 1, 1));

    const auto options = [](RangeBound from, RangeBound to) {
        ReportOptions o;
        o.from = from;
        o.to = to;
        return o;
    };
    const std::string numbers = "L'intervallo è rovesciato: il primo limite (300) viene dopo l'ultimo (50).";
    const std::string dates =
        "L'intervallo è rovesciato: il primo limite (31.12.2026) viene dopo l'ultimo (01.01.2026).";
    EXPECT_EQ(readJournalRange({false, "300", "50"}).error, numbers);
    EXPECT_EQ(readJournalRange({true, "31.12.2026", "01.01.2026"}).error, dates);
    EXPECT_EQ(journalRangeOf(options(300LL, 50LL)).error, numbers);
    EXPECT_EQ(journalRangeOf(options(ymd(2026, 12, 31), ymd(2026, 1, 1))).error, dates);
    EXPECT_TRUE(journalRangeOf(options(50LL, 50LL)).ok());
    try {
        dateOptionOf(options(ymd(2026, 12, 31), ymd(2026, 1, 1)));
        FAIL() << "a reversed date option must be refused";
    } catch (const std::invalid_argument& error) {
        EXPECT_EQ(error.what(), dates);
    }
}

class JournalQueries : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeJournal(path_, {
            {1, ymd(2024, 3, 5), " E0101", " C0101", "offerte", 100, 0, 2, 0},
            {2, ymd(2024, 2, 20), " A0101", " C0101", "luce", 0, 40, 1, 0},
            {3, ymd(2024, 3, 1), " A0102", " C0101", "gas", 0, 10, 1, 0},
            {4, ymd(2024, 3, 1), " E0102", " C0101", "collette", 7, 0, 2, 0},
            {5, ymd(2024, 4, 2), " A0101", " C0101", "acqua", 0, 3, 1, 0},
        });
    }

    std::vector<int> numbers(const BoundQuery& query) const {
        std::vector<int> result;
        const auto rows = storage::runSelect(query.sql, query.params);
        for (rows->first(); !rows->eof(); rows->next()) {
            result.push_back(int(rows->asInteger(storage::journal::kNummer)));
        }
        return result;
    }

    test::TempDir dir_;
    std::filesystem::path path_ = dir_ / "kr202401.dbf";
};

TEST_F(JournalQueries, NumberRangeIsInclusiveAndTheCarryOverStrictlyBeforeIt) {
    const JournalRange range = NumberRange{2, 4};
    EXPECT_EQ(numbers(carryOverQuery(path_, range)), (std::vector<int>{1}));
    EXPECT_EQ(numbers(rangeQuery(path_, range)), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(rangeQuery(path_, NumberRange{77, 88}).sql.find("77"), std::string::npos) << "bounds are parameters";
}

TEST_F(JournalQueries, DateRangeOrdersByDateThenNumber) {
    const JournalRange range = DateRange{ymd(2024, 3, 1), ymd(2024, 3, 31)};
    EXPECT_EQ(numbers(carryOverQuery(path_, range)), (std::vector<int>{2}));
    EXPECT_EQ(numbers(rangeQuery(path_, range)), (std::vector<int>{3, 4, 1}));
}

TEST_F(JournalQueries, EmptyRangeSelectsNothing) {
    EXPECT_TRUE(numbers(rangeQuery(path_, NumberRange{9, 20})).empty());
    EXPECT_EQ(numbers(carryOverQuery(path_, NumberRange{9, 20})).size(), 5u);
}

TEST(JournalRowRules, LiabilitiesAndAssetsCountEvenWhenSelfBookedRowsAreLeftOut) {
    EXPECT_TRUE(isListedInJournal(" C0101", " C0101")) << "a cash box's opening row is listed";
    EXPECT_FALSE(isListedInJournal(" P0201", " P0201")) << "a liability's opening row is not";
    EXPECT_FALSE(isListedInJournal(" C0501", " C0501"));
    EXPECT_FALSE(isListedInJournal(" C1101", " C1101"));
    EXPECT_TRUE(isListedInJournal(" P0201", " C0201"));

    SumPair liabilities, assets;
    addToClosingSections(" P0201", 0, 900, liabilities, assets);
    addToClosingSections(" P0201", 1000, 0, liabilities, assets);
    addToClosingSections(" C0501", 300, 0, liabilities, assets);
    addToClosingSections(" C1001", 0, 20, liabilities, assets);
    addToClosingSections(" C1101", 5, 0, liabilities, assets);
    addToClosingSections(" C0401", 5, 0, liabilities, assets);
    addToClosingSections(" A0101", 0, 1.5, liabilities, assets);
    EXPECT_DOUBLE_EQ(liabilities.income, 1000);
    EXPECT_DOUBLE_EQ(liabilities.expense, 900);
    EXPECT_DOUBLE_EQ(assets.income, 300);
    EXPECT_DOUBLE_EQ(assets.expense, 20);
}

TEST(JournalCarryOver, SumsEverythingBeforeTheRangeWithTheRowRules) {
    test::TempDir dir;
    const auto path = dir / "kr202401.dbf";
    test::makeJournal(path, {
        {1, ymd(2024, 1, 1), " C0101", " C0101", "Riporto: ", 200, 0, 2, 2},
        {2, ymd(2024, 1, 1), " P0101", " P0101", "Riporto: ", 0, 800, 1, 2},
        {3, ymd(2024, 1, 9), " A0101", " C0101", "luce", 0, 50, 1, 0},
        {4, ymd(2024, 2, 1), " E0101", " C0101", "offerte", 70, 0, 2, 0},
    });
    const JournalSums sums = carryOverSums(path, NumberRange{4, 4});
    EXPECT_DOUBLE_EQ(sums.running.income, 200);
    EXPECT_DOUBLE_EQ(sums.running.expense, 50);
    EXPECT_DOUBLE_EQ(sums.liabilities.difference(), -800);
    EXPECT_DOUBLE_EQ(carryOverSums(path, NumberRange{1, 4}).running.difference(), 0);
}

}  // namespace
