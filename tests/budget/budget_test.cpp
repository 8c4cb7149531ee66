#include "budget/budget_figures.h"
#include "budget/budget_table.h"
#include "storage/year_files.h"
#include "support/dbfread_reader.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "years/delete_year.h"
#include "years/import_year.h"
#include "years/new_year.h"
#include "years/save_copy.h"
#include "years/year_backup.h"
#include "years/year_test_data.h"

#include <gtest/gtest.h>

namespace quendra::budget {
namespace {

using test::Movement;
using test::ymd;

Movement movement(const std::string& cod, const std::string& codd, double in, double out) {
    return {0, ymd(2026, 3, 1), cod, codd, "", in, out, in != 0 ? 2 : 1, 0};
}

std::map<std::string, double> plain(const Budget& budget) {
    std::map<std::string, double> out;
    for (const auto& [code, planned] : budget) out[code] = planned.amount;
    return out;
}

class BudgetYear : public ::testing::Test {
protected:
    std::filesystem::path data() const { return dir_ / "krw"; }
    std::filesystem::path file(const std::string& name) const { return data() / name; }
    void SetUp() override {
        std::filesystem::create_directories(data());
        test::makeTemplates(data());
    }
    test::TempDir dir_;
};

TEST(BudgetPath, BesideTheJournalWhateverItsName) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/kr202601.dbf", "kv202601.dbf"},
        {"/d/KR202601.DBF", "KV202601.DBF"},
        {"/d/12345KR202601.dbf", "12345KV202601.dbf"},
        {"/d/SanMichele-Kr202601.dbf", "SanMichele-Kv202601.dbf"},
    };
    for (const auto& [journal, budget] : cases) EXPECT_EQ(budgetPathOf(journal).filename(), budget) << journal;
}

TEST(BudgetProposal, WholeEurosAfterThePercentage) {
    const std::map<std::string, double, std::less<>> lastYear = {
        {" E0101", 1234.49}, {" E0102", 2.5}, {" A0101", 3.5}, {" A0102", 0.4}, {" A0103", -10.6}};
    EXPECT_EQ(plain(proposal(lastYear, 0)),
              (std::map<std::string, double>{{" E0101", 1234}, {" E0102", 2}, {" A0101", 4}, {" A0103", -11}}));
    EXPECT_EQ(plain(proposal(lastYear, 10)),
              (std::map<std::string, double>{{" E0101", 1358}, {" E0102", 3}, {" A0101", 4}, {" A0103", -12}}));
}

TEST_F(BudgetYear, ActualsCountIncomeAndExpenseThroughCashBoxesOnly) {
    test::makeJournal(file("kr202601.dbf"), {
                                               movement(" E0101", " C0101", 100, 0),
                                               movement(" E0101", " C0201", 0, 30),   // refund: less income
                                               movement(" A0101", " C0101", 0, 250.5),
                                               movement(" A0101", " C0501", 0, 99),   // not through a cash box
                                               movement(" C0101", " C0101", 500, 0),  // opening row
                                           });
    const auto actual = actualAmounts(file("kr202601.dbf"));
    EXPECT_EQ((std::map<std::string, double>(actual.begin(), actual.end())),
              (std::map<std::string, double>{{" A0101", 250.5}, {" E0101", 70}}));
}

TEST_F(BudgetYear, WrittenAtOnceReadByDbfreadAndCheckedByTheTool) {
    const std::filesystem::path kv = file("kv202601.dbf");
    EXPECT_TRUE(readBudget(kv).empty()) << "no file: an empty budget";
    writePlanned(kv, " E0101", {1200, "collette"});
    writePlanned(kv, " A0101", {350.25, ""});
    writePlanned(kv, " A0101", {400, ""});
    writePlanned(kv, " E0102", {10, ""});
    writePlanned(kv, " E0102", {0, ""});  // removed again
    EXPECT_EQ(plain(readBudget(kv)), (std::map<std::string, double>{{" A0101", 400}, {" E0101", 1200}}));
    EXPECT_EQ(readBudget(kv).at(" E0101").note, "collette");

    const auto check = test::runProgram(QUENDRA_DB_TOOL, {"check", kv.string()});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    if (!test::dbfreadAvailable()) GTEST_SKIP() << "/usr/bin/python3 without dbfread";
    const test::DbfreadTable read = test::readWithDbfread(kv);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0]["COD"].text, " E0101");
    EXPECT_EQ(read.records[0]["PREVISTO"].number, 1200);
    EXPECT_EQ(read.records[1]["PREVISTO"].number, 400);
}

TEST_F(BudgetYear, TravelsWithItsYearAndAYearWithoutOneStaysWithout) {
    const std::string withBudget = years::createYear(data(), 2026, ymd(2026, 1, 2));
    const std::string without = years::createYear(data(), 2026, ymd(2026, 1, 2));
    ASSERT_TRUE(std::filesystem::exists(file("kv202601.dbf"))) << "made empty with the year";
    EXPECT_TRUE(readBudget(file("kv202601.dbf")).empty());
    writePlanned(file("kv202601.dbf"), " E0101", {500, ""});
    std::filesystem::remove(file("kv202602.dbf"));
    std::filesystem::remove(file("kv202602.mdx"));

    // Saved, with a stale budget in the folder for the year that has none.
    const std::filesystem::path saved = dir_ / "chiavetta";
    std::filesystem::create_directories(saved);
    years::saveYearCopy(data(), "kr202601.dbf", "kw202601.dbf", saved);
    std::filesystem::copy_file(saved / "kv202601.dbf", saved / "kv202602.dbf");
    years::saveYearCopy(data(), "kr202602.dbf", "kw202602.dbf", saved);
    EXPECT_TRUE(std::filesystem::exists(saved / "kv202601.dbf"));
    EXPECT_FALSE(std::filesystem::exists(saved / "kv202602.dbf"));

    // Backed up before the delete, deleted with the year.
    const std::filesystem::path backup = years::backupYear(data(), withBudget, "prova");
    EXPECT_TRUE(std::filesystem::exists(backup / "kv202601.dbf"));
    years::deleteYear(data(), withBudget);
    years::deleteYear(data(), without);
    EXPECT_FALSE(std::filesystem::exists(file("kv202601.dbf")));
    EXPECT_FALSE(std::filesystem::exists(file("kv202601.mdx")));

    // Restored by the import, with its index; the year without one comes back without.
    years::importYear(data(), backup / "kr202601.dbf");
    EXPECT_EQ(plain(readBudget(file("kv202601.dbf"))), (std::map<std::string, double>{{" E0101", 500}}));
    EXPECT_EQ(test::runProgram(QUENDRA_DB_TOOL, {"check", file("kv202601.dbf").string()}).exitCode, 0);
    years::importYear(data(), saved / "kr202602.dbf");
    EXPECT_FALSE(std::filesystem::exists(file("kv202602.dbf")));
    EXPECT_TRUE(readBudget(file("kv202602.dbf")).empty());
}

TEST_F(BudgetYear, LastYearIsTheCarrySourceElseTheSameRunningNumber) {
    const std::vector<test::ChartRow> chart = test::smallChart("San Rocco");
    test::makeYear(data(), "202501", {}, chart);
    test::makeYear(data(), "202502", {}, chart);
    test::makeYear(data(), "202601", {}, chart);
    test::makeYear(data(), "202602", {{1, ymd(2026, 1, 1), " C0101", " C0101", "Riporto: 2025/01 - Cassa", 5, 0, 2, 2}},
                   chart);
    test::makeYear(data(), "202603", {}, chart);
    EXPECT_EQ(previousYearJournal(data(), "202601")->filename(), "kr202501.dbf");
    EXPECT_EQ(previousYearJournal(data(), "202602")->filename(), "kr202501.dbf");
    EXPECT_FALSE(previousYearJournal(data(), "202603"));
}

}  // namespace
}  // namespace quendra::budget
