#include "years/carry_forward.h"

#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/year_files.h"
#include "support/dbfread_reader.h"
#include "support/temp_dir.h"
#include "years/year_test_data.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace quendra::years {
namespace {

using storage::Date;
using test::Movement;
using test::ymd;

constexpr int kCarry = 2;  // eroeffnung of a carry-forward row

Movement move(int nummer, const std::string& cod, const std::string& codd, double in, double out, int opening = 0) {
    return {nummer, ymd(2014, 3, 1), cod, codd, "movimento", in, out, in > 0 ? 2 : 1, opening};
}

Movement carryRow(int nummer, const std::string& code, double in, double out) {
    return {nummer, ymd(2015, 1, 1), code, code, "Riporto: 2014/01 - vecchio", in, out, in > 0 ? 2 : 1, kCarry};
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> codesOf(const std::vector<CarriedBalance>& balances) {
    std::vector<std::string> codes;
    for (const CarriedBalance& b : balances) codes.push_back(b.code);
    return codes;
}

std::vector<int> numbersOf(const std::vector<Movement>& rows) {
    std::vector<int> numbers;
    for (const Movement& row : rows) numbers.push_back(row.nummer);
    return numbers;
}

class CarryForward : public ::testing::Test {
protected:
    void source(const std::vector<Movement>& rows) { test::makeYear(dir.path(), "201401", rows, chart); }
    std::vector<CarriedBalance> balances() { return carriedBalances(test::journalOf(dir.path(), "201401")); }

    test::TempDir dir;
    std::vector<test::ChartRow> chart = test::smallChart("Santa Maria");
};

// --- Which balances, and their exact values ---------------------------------------------

TEST_F(CarryForward, ExactlyZeroIsNotCarriedButATinyRemainderIs) {
    // Einnahme and Ausgabe are summed apart: 0.1 + 0.3 - 0.4 is exactly 0 that way, though
    // a running balance would leave -5.55e-17 behind.
    source({move(1, " E0101", " C0101", 0.1, 0), move(2, " A0101", " C0101", 0, 0.4),
            move(3, " E0101", " C0101", 0.3, 0), move(4, " E0101", " C0102", 0.1, 0),
            move(5, " E0101", " C0102", 0.2, 0), move(6, " A0101", " C0102", 0, 0.3)});
    const auto carried = balances();
    ASSERT_EQ(codesOf(carried), std::vector<std::string>{" C0102"});
    EXPECT_EQ(carried[0].balance, (0.1 + 0.2) - 0.3);
    EXPECT_GT(carried[0].balance, 0.0);
}

TEST_F(CarryForward, EachSumRunsInRecordOrder) {
    // (0.3 + 0.2) + 0.1 is 0.6 exactly; (0.1 + 0.2) + 0.3 is not. The rows of the two cash
    // boxes are interleaved so that the grouping cannot lean on neighbourhood.
    source({move(1, " E0101", " C0103", 0.3, 0), move(2, " E0101", " C0201", 0.1, 0),
            move(3, " E0101", " C0103", 0.2, 0), move(4, " E0101", " C0201", 0.2, 0),
            move(5, " E0101", " C0103", 0.1, 0), move(6, " E0101", " C0201", 0.3, 0),
            move(7, " A0101", " C0103", 0, 0.6), move(8, " A0101", " C0201", 0, 0.6)});
    const auto carried = balances();
    ASSERT_EQ(codesOf(carried), std::vector<std::string>{" C0201"});
    EXPECT_EQ(carried[0].balance, ((0.1 + 0.2) + 0.3) - 0.6);
}

TEST_F(CarryForward, OnlyMoneyOtherAssetsAndLiabilitiesAreCarriedInThatOrder) {
    source({move(1, " P0201", " C0201", 10, 0), move(2, " C0501", " C0101", 0, 20), move(3, " E0101", " C0102", 30, 0),
            move(4, " P0101", " C0101", 1000, 0), move(5, " A0101", " A0101", 0, 7),  // expense: never carried
            move(6, " E0101", " E0101", 9, 0),                                        // income
            move(7, " V0101", " V0101", 500, 0),                                      // property
            move(8, "HC0100", "HC0100", 40, 0),                                       // main accounts match no group
            move(9, "CC0101", "CC0101", 50, 0)});  // the picker's placeholder neither
    EXPECT_EQ(codesOf(balances()),
              (std::vector<std::string>{" C0101", " C0102", " C0201", " C0501", " P0101", " P0201"}));
}

TEST_F(CarryForward, ATransferFromTheBankIntoTheCashBoxCountsOnlyForTheCashBox) {
    source({move(1, " C0201", " C0101", 100, 0)});
    const auto carried = balances();
    ASSERT_EQ(codesOf(carried), std::vector<std::string>{" C0101"});
    EXPECT_EQ(carried[0].balance, 100);
}

// --- Rows written ------------------------------------------------------------------------

TEST_F(CarryForward, NewYearGetsRowsNumberedFromOneOnTheFirstOfJanuary) {
    test::makeTemplates(dir.path());
    chart.push_back({" C0301", "Posta c/c aggiunta dalla parrocchia", "Posta", "Attiva"});
    source({move(1, " E0101", " C0101", 250.5, 0), move(2, " P0101", " C0201", 0, 0),
            move(3, " P0101", " C0201", 1000, 1500.25), move(4, " C0201", " C0201", 80, 0, kCarry),
            move(5, " E0101", " C0301", 5, 0)});
    test::makeYear(dir.path(), "201501", {move(1, " E0101", " C0101", 1, 0)}, test::smallChart("Altra"));

    const std::string created = carryIntoNewYear(dir.path(), "201401");

    EXPECT_EQ(created, "201502");
    const auto rows = test::readMovements(test::journalOf(dir.path(), "201502"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(numbersOf(rows), (std::vector<int>{1, 2, 3, 4}));
    const Movement& cash = rows[0];
    EXPECT_EQ(cash.cod, " C0101");
    EXPECT_EQ(cash.codd, " C0101");
    EXPECT_EQ(cash.datum, ymd(2015, 1, 1));
    EXPECT_EQ(cash.text, "Riporto: 2014/01 - Cassa parrocchiale");
    EXPECT_EQ(cash.einnahme, 250.5);
    EXPECT_EQ(cash.ausgabe, 0);
    EXPECT_EQ(cash.ea, 2);
    EXPECT_EQ(cash.eroeffnung, kCarry);
    // The bank: its own opening row of last year plus the loan's two movements.
    EXPECT_EQ(rows[1].cod, " C0201");
    EXPECT_EQ(rows[1].einnahme, 0);
    EXPECT_EQ(rows[1].ausgabe, 420.25);
    EXPECT_EQ(rows[1].ea, 1);
    EXPECT_EQ(rows[2].text, "Riporto: 2014/01 - Posta c/c aggiunta dalla parrocchia");
    // A liability whose Ausgabe is larger: the difference in Ausgabe, side 1.
    EXPECT_EQ(rows[3].cod, " P0101");
    EXPECT_EQ(rows[3].ausgabe, 500.25);
    EXPECT_EQ(rows[3].einnahme, 0);
    EXPECT_EQ(rows[3].ea, 1);

    // The new year's chart is the source's, accounts added by the parish included.
    EXPECT_EQ(test::readChart(test::chartOf(dir.path(), "201502")),
              test::readChart(test::chartOf(dir.path(), "201401")));
}

TEST_F(CarryForward, ACashBoxWithOnlyLastYearsCarryRowIsCarriedAgain) {
    source({carryRow(1, " C0101", 500, 0)});
    test::makeYear(dir.path(), "201501", {}, chart);
    EXPECT_EQ(carryForward(dir.path(), "201401", "201501"), 1u);
    const auto rows = test::readMovements(test::journalOf(dir.path(), "201501"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].einnahme, 500);
    EXPECT_EQ(rows[0].text, "Riporto: 2014/01 - Cassa parrocchiale");
}

TEST_F(CarryForward, ATinyRemainderIsWrittenAsARowOfNoCents) {
    source({move(1, " E0101", " C0102", 0.1, 0), move(2, " E0101", " C0102", 0.2, 0),
            move(3, " A0101", " C0102", 0, 0.3)});
    test::makeYear(dir.path(), "201501", {}, chart);
    carryForward(dir.path(), "201401", "201501");
    const auto rows = test::readMovements(test::journalOf(dir.path(), "201501"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].einnahme, 0);
    EXPECT_EQ(rows[0].ea, 2);
}

TEST_F(CarryForward, UpdateReplacesTheOldCarryRowsAndFillsTheirNumbersFirst) {
    source({move(1, " E0101", " C0101", 10, 0), move(2, " E0101", " C0102", 20, 0), move(3, " E0101", " C0103", 30, 0),
            move(4, " E0101", " C0201", 40, 0), move(5, " C0501", " C0501", 50, 0)});
    std::vector<Movement> target = {carryRow(1, " C0101", 1, 0), carryRow(2, " C0102", 2, 0),
                                    carryRow(3, " P0101", 0, 3)};
    for (int n = 4; n <= 40; ++n) target.push_back(move(n, " E0101", " C0101", n, 0));
    target[10].eroeffnung = 1;  // read as an opening row elsewhere, never removed here
    test::makeYear(dir.path(), "201501", target, chart);

    const CarrySource found = findCarrySource(dir.path(), "201501");
    ASSERT_TRUE(found.hasCarryRows);
    EXPECT_EQ(found.journalName, "kr201401.dbf");
    ASSERT_EQ(found.yearNumber, std::optional<std::string>("201401"));
    EXPECT_EQ(carryForward(dir.path(), "201401", "201501"), 5u);

    const auto rows = test::readMovements(test::journalOf(dir.path(), "201501"));
    std::vector<int> carryNumbers;
    std::vector<std::string> carryCodes;
    for (const Movement& row : rows) {
        if (row.eroeffnung != kCarry) continue;
        carryNumbers.push_back(row.nummer);
        carryCodes.push_back(row.cod);
    }
    EXPECT_EQ(carryNumbers, (std::vector<int>{1, 2, 3, 41, 42}));
    EXPECT_EQ(carryCodes, (std::vector<std::string>{" C0101", " C0102", " C0103", " C0201", " C0501"}));
    EXPECT_EQ(rows.size(), 37u + 5u);
    EXPECT_EQ(rows[10 - 3].eroeffnung, 1);
}

TEST_F(CarryForward, CarryIntoAnExistingYearFillsItsGapsFromTheBottom) {
    source(
        {move(1, " E0101", " C0101", 10, 0), move(2, " E0101", " C0102", 20, 0), move(3, " E0101", " C0103", 30, 0)});
    std::vector<Movement> target;
    for (int n : {2, 3, 4, 5, 6, 8, 9}) target.push_back(move(n, " E0101", " C0101", 1, 0));
    test::makeYear(dir.path(), "201501", target, chart);
    EXPECT_FALSE(findCarrySource(dir.path(), "201501").hasCarryRows);

    carryForward(dir.path(), "201401", "201501");

    std::vector<int> carried;
    for (const Movement& row : test::readMovements(test::journalOf(dir.path(), "201501")))
        if (row.eroeffnung == kCarry) carried.push_back(row.nummer);
    EXPECT_EQ(carried, (std::vector<int>{1, 7, 10}));
}

TEST_F(CarryForward, AHandMarkedFirstOpeningRowNamesNoYear) {
    test::makeYear(dir.path(), "201501",
                   {move(1, " E0101", " C0101", 5, 0),
                    {2, ymd(2015, 1, 1), " C0101", " C0101", "Apertura cassa", 90, 0, 2, kCarry},
                    carryRow(3, " C0201", 10, 0)},
                   chart);
    const CarrySource found = findCarrySource(dir.path(), "201501");
    EXPECT_TRUE(found.hasCarryRows);
    EXPECT_EQ(found.journalName, "krcass.dbf");
    EXPECT_FALSE(found.yearNumber);
}

TEST_F(CarryForward, ACarryRowNamingAMissingYearIsReportedAsSuch) {
    test::makeYear(dir.path(), "201501", {carryRow(1, " C0101", 10, 0)}, chart);
    const CarrySource found = findCarrySource(dir.path(), "201501");
    EXPECT_EQ(found.journalName, "kr201401.dbf");
    EXPECT_FALSE(found.yearNumber);
}

TEST_F(CarryForward, TextsAreCutToTheFieldsCharactersNotItsBytes) {
    // 19 characters of "Riporto: 2014/01 - " and 44 of the account's 60 fill the 63 of
    // the field; the accented letters take two bytes each in the program's text.
    chart.push_back({" C0104", "Però è più già: cassa della confraternità di Sant'Anna e San", "Cassa", "Attiva"});
    source({move(1, " E0101", " C0104", 12, 0)});
    test::makeYear(dir.path(), "201501", {}, chart);
    carryForward(dir.path(), "201401", "201501");
    const auto rows = test::readMovements(test::journalOf(dir.path(), "201501"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "Riporto: 2014/01 - Però è più già: cassa della confraternità di");
}

TEST_F(CarryForward, ACodeMissingFromTheSourceChartTakesTheTextOfTheAccountAfterIt) {
    source({move(1, " C0502", " C0502", 70, 0)});
    test::makeYear(dir.path(), "201501", {}, chart);
    carryForward(dir.path(), "201401", "201501");
    const auto rows = test::readMovements(test::journalOf(dir.path(), "201501"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cod, " C0502");
    EXPECT_EQ(rows[0].text, "Riporto: 2014/01 - Offerte");  // " E0101" follows

    storage::Cursor sourceChart(test::chartOf(dir.path(), "201401"), storage::OpenMode::Shared);
    sourceChart.setOrder(storage::chart::kCod);
    EXPECT_EQ(accountText(sourceChart, "ZZ9999"), "");
}

TEST_F(CarryForward, TheSourceYearIsOnlyRead) {
    source({move(1, " E0101", " C0101", 10, 0), carryRow(2, " C0201", 5, 0)});
    test::makeYear(dir.path(), "201501", {}, chart);
    const std::string journalBefore = fileBytes(test::journalOf(dir.path(), "201401"));
    const std::string chartBefore = fileBytes(test::chartOf(dir.path(), "201401"));
    carryForward(dir.path(), "201401", "201501");
    EXPECT_EQ(fileBytes(test::journalOf(dir.path(), "201401")), journalBefore);
    EXPECT_EQ(fileBytes(test::chartOf(dir.path(), "201401")), chartBefore);
}

TEST_F(CarryForward, AMissingSourceChartStopsBeforeTheOldRowsAreDeleted) {
    source({move(1, " E0101", " C0101", 10, 0)});
    std::filesystem::remove(test::chartOf(dir.path(), "201401"));
    std::filesystem::remove(dir / "kw201401.mdx");
    test::makeYear(dir.path(), "201501", {carryRow(1, " C0101", 3, 0)}, chart);
    EXPECT_THROW(carryForward(dir.path(), "201401", "201501"), storage::YearFileError);
    ASSERT_EQ(test::readMovements(test::journalOf(dir.path(), "201501")).size(), 1u);
}

TEST_F(CarryForward, ADataDirectoryWithAQuoteInItsPathIsQueriedAsAPath) {
    const std::filesystem::path odd = dir / "dati \"parrocchia\"";
    std::filesystem::create_directory(odd);
    test::makeYear(odd, "201401", {move(1, " E0101", " C0101", 10, 0)}, chart);
    test::makeYear(odd, "201501", {}, chart);
    EXPECT_EQ(carryForward(odd, "201401", "201501"), 1u);
    EXPECT_EQ(findCarrySource(odd, "201501").yearNumber, std::optional<std::string>("201401"));
}

TEST_F(CarryForward, OtherDbaseReadersAcceptTheCarriedJournal) {
    if (!test::dbfreadAvailable()) GTEST_SKIP() << "dbfread is not installed";
    source({move(1, " E0101", " C0101", 1234.5, 0), move(2, " P0101", " P0101", 0, 99.99)});
    test::makeYear(dir.path(), "201501", {move(7, " E0101", " C0101", 1, 0)}, chart);
    carryForward(dir.path(), "201401", "201501");
    const test::DbfreadTable table = test::readWithDbfread(test::journalOf(dir.path(), "201501"));
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_EQ(table.records[1]["TEXT"].text, "Riporto: 2014/01 - Cassa parrocchiale");
    EXPECT_EQ(table.records[1]["EINNAHME"].number, 1234.5);
    EXPECT_EQ(table.records[2]["AUSGABE"].number, 99.99);
    EXPECT_EQ(table.records[2]["NUMMER"].number, 2);
}

}  // namespace
}  // namespace quendra::years
