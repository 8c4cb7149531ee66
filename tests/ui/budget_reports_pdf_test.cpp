// The budget and the comparison as quendra-report writes them, checked against a
// recomputation from the raw rows (dbfread).

#include "support/dbfread_reader.h"
#include "support/demo_report_year.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quendra;

namespace {

std::string collapsed(const std::string& line) {
    std::istringstream words(line);
    std::string word, out;
    while (words >> word) out += (out.empty() ? "" : " ") + word;
    return out;
}

class BudgetReports : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::dbfreadAvailable()) GTEST_SKIP() << "/usr/bin/python3 without dbfread";
        const auto made = test::runProgram(QUENDRA_DB_TOOL, {"demo", data_.string(), "--year", "2026", "--movements",
                                                             "120", "--seed", "7", "--budget"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    std::string report(const std::string& name) {
        const auto pdf = dir_ / (name + ".pdf");
        const auto result = test::runProgram(QUENDRA_REPORT_TOOL, {"--data", data_.string(), name, "--pdf", pdf.string()});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return test::pdfText(pdf);
    }

    test::TempDir dir_;
    std::filesystem::path data_ = dir_ / "krw";
};

TEST_F(BudgetReports, ComparisonAgreesWithARecomputationFromTheRawRows) {
    const std::string text = report("confronto");
    EXPECT_NE(text.find("CONFRONTO CONSUNTIVO - PREVENTIVO anno - 2026"), std::string::npos) << text;
    std::vector<std::string> printed;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) printed.push_back(collapsed(line));

    const auto expected = test::runProgram("/usr/bin/python3", {QUENDRA_SOURCE_DIR "/tests/support/budget_comparison.py",
                                                                 (data_ / "kr202601.dbf").string(),
                                                                 (data_ / "kv202601.dbf").string()});
    ASSERT_EQ(expected.exitCode, 0) << expected.err;
    std::istringstream wanted(expected.out);
    int checked = 0;
    for (std::string line; std::getline(wanted, line); ++checked) {
        const std::string label = line.substr(0, line.find('\t'));
        const std::string figures = line.substr(line.find('\t') + 1);
        bool found = false;
        for (const std::string& p : printed) {
            found = found || (p.starts_with(label + " ") && p.ends_with(" " + figures));
        }
        EXPECT_TRUE(found) << label << ": " << figures << "\n" << text;
    }
    EXPECT_GT(checked, 10);
}

TEST_F(BudgetReports, ComparisonRepeatsItsColumnTitlesOnEveryPage) {
    const std::string text = report("confronto");
    std::vector<std::string> pages;
    std::istringstream sheets(text);
    for (std::string page; std::getline(sheets, page, '\f');) {
        if (!collapsed(page).empty()) pages.push_back(collapsed(page));
    }
    ASSERT_GT(pages.size(), 1u) << text;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_NE(pages[i].find("consuntivo preventivo differenza raggiunto"), std::string::npos) << "page " << i + 1 << "\n"
                                                                                                    << pages[i];
    }
}

TEST_F(BudgetReports, BudgetShowsPlannedSumsAndSaldo) {
    const std::string text = collapsed(report("preventivo"));
    for (const char* wanted : {"PREVENTIVO anno - 2026", "ENTRATE", "USCITE", "E0901", "(contributo atteso)",
                               "SOMMA ENTRATE", "SOMMA USCITE", "SALDO previsto (entrate - uscite)"}) {
        EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
    }
}

TEST_F(BudgetReports, AYearWithoutBudgetComparesWithNothingPlanned) {
    std::filesystem::remove(data_ / "kv202601.dbf");
    std::filesystem::remove(data_ / "kv202601.mdx");
    const std::string text = collapsed(report("confronto"));
    EXPECT_NE(text.find("SOMMA ENTRATE"), std::string::npos) << text;
    EXPECT_EQ(text.find(" %"), std::string::npos) << "nothing planned, no share";
}

}  // namespace
