// The programs under an Italian or German desktop write the same reports, workbook and
// query answers as under C, to the last character.

#include "support/file_contents.h"
#include "support/openpyxl_reader.h"
#include "support/run_program.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

using namespace quendra;

namespace {

class ProgramsInCommaLocale : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const auto made = run(QUENDRA_DB_TOOL, {"demo", data_.string(), "--year", "2026", "--movements", "60",
                                                "--seed", "3"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    void TearDown() override { ::unsetenv("LC_ALL"); }

    test::ProgramResult run(const std::filesystem::path& program, const std::vector<std::string>& args,
                            const char* locale = "C") {
        ::setenv("LC_ALL", locale, 1);
        return test::runProgram(program, args);
    }

    // The PDF's text as pdftotext sees it.
    std::string report(const std::string& name, const char* locale) {
        const auto pdf = dir_ / (name + "-" + locale + ".pdf");
        const auto made = run(QUENDRA_REPORT_TOOL, {"--data", data_.string(), name, "--pdf", pdf.string()}, locale);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        const auto text = dir_ / "out.txt";
        EXPECT_EQ(run("/usr/bin/pdftotext", {"-layout", pdf.string(), text.string()}).exitCode, 0);
        // Listings carry the time they were printed, to the second.
        return std::regex_replace(test::readFile(text), std::regex(R"(\(Data: [^)]*\))"), "(Data)");
    }

    std::string workbook(const char* locale) {
        const auto xlsx = dir_ / (std::string("mappe-") + locale + ".xlsx");
        const auto made = run(QUENDRA_REPORT_TOOL, {"--data", data_.string(), "cartella", "--xlsx", xlsx.string()}, locale);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        std::ostringstream cells;
        for (const auto& sheet : test::readWithOpenpyxl(xlsx)) {
            for (const auto& [reference, cell] : sheet.cells) {
                cells << sheet.name << '!' << reference << ' ' << cell.type << ' ' << cell.text << ' ' << cell.number << '\n';
            }
        }
        return cells.str();
    }

    test::TempDir dir_;
    std::filesystem::path data_ = dir_ / "krw";
};

TEST_P(ProgramsInCommaLocale, ReportsAreTheSameTextAsUnderC) {
    for (const char* name : {"giornale", "bilancio", "movimenti"}) {
        const std::string underC = report(name, "C");
        EXPECT_TRUE(std::regex_search(underC, std::regex("[0-9]\\.[0-9]{3},[0-9]{2}"))) << name << " shows no amount";
        EXPECT_EQ(report(name, GetParam()), underC) << name;
    }
}

TEST_P(ProgramsInCommaLocale, WorkbookCellsAreTheSameAsUnderC) {
    if (!test::openpyxlAvailable()) GTEST_SKIP() << "/usr/bin/python3 without openpyxl";
    EXPECT_EQ(workbook(GetParam()), workbook("C"));
}

TEST_P(ProgramsInCommaLocale, QueryAnswersAreTheSameAsUnderC) {
    const std::string query = "select sum(einnahme), sum(ausgabe) from \"" + (data_ / "kr202601.dbf").string() + "\"";
    const auto underC = run(QUENDRA_DB_TOOL, {"query", query});
    ASSERT_EQ(underC.exitCode, 0) << underC.err;
    const auto underComma = run(QUENDRA_DB_TOOL, {"query", query}, GetParam());
    EXPECT_EQ(underComma.out, underC.out);
    EXPECT_NE(underC.out.find('.'), std::string::npos) << underC.out;
}

INSTANTIATE_TEST_SUITE_P(Desktops, ProgramsInCommaLocale, ::testing::ValuesIn(test::kCommaLocales),
                         [](const auto& info) { return std::string(info.param).substr(0, 5); });

}  // namespace
