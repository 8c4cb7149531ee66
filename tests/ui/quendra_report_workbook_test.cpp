// quendra-report cartella as a user runs it: a demo year in, the export's workbook out,
// read back with openpyxl.

#include "export/year_workbook.h"
#include "storage/demo_data.h"
#include "storage/year_files.h"

#include "support/file_contents.h"
#include "support/openpyxl_reader.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace quendra {
namespace {

namespace fs = std::filesystem;

class ReportWorkbook : public ::testing::Test {
protected:
    ReportWorkbook() {
        storage::makeDemoDataDirectory(data_, fs::path(QUENDRA_RUNTIME_DIR) / "krw", {2026, 60, 5});
    }

    test::TempDir dir_;
    fs::path data_ = dir_ / "krw";
};

TEST_F(ReportWorkbook, DataDirectoryYearAsTheExportsWorkbook) {
    const fs::path xlsx = dir_ / "uscita" / "anno.xlsx";
    const auto result = test::runProgram(QUENDRA_REPORT_TOOL, {"--data", data_.string(), "cartella", "--xlsx", xlsx.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(test::namesIn(xlsx.parent_path()), std::vector<std::string>{"anno.xlsx"});
    if (!test::openpyxlAvailable()) GTEST_SKIP() << "/usr/bin/python3 without openpyxl";

    // Cell for cell what the export computes.
    const spreadsheet::Workbook expected =
        spreadsheet::buildWorkbook(data_ / "kr202601.dbf", data_ / "kw202601.dbf", "202601");
    const auto sheets = test::readWithOpenpyxl(xlsx);
    ASSERT_EQ(sheets.size(), 5u);
    std::size_t index = 0;
    for (const spreadsheet::Sheet* sheet : expected.sheets()) {
        const test::XlsxSheet& read = sheets[index++];
        EXPECT_EQ(read.name, sheet->name());
        std::size_t cells = 0;
        for (std::size_t row = 1; row <= sheet->lastRow(); ++row) {
            const auto values = sheet->row(row);
            for (std::size_t column = 0; column < values.size(); ++column) {
                const std::string reference = std::string(1, char('A' + column)) + std::to_string(row);
                if (const auto* text = std::get_if<std::string>(&values[column])) {
                    EXPECT_EQ(read.at(reference), test::xlsxText(*text)) << read.name << "!" << reference;
                } else if (const auto* number = std::get_if<double>(&values[column])) {
                    // The file holds 16 significant digits, as much as a spreadsheet shows.
                    EXPECT_EQ(read.at(reference).type, "n") << read.name << "!" << reference;
                    EXPECT_NEAR(read.at(reference).number, *number, 1e-12 * std::max(1.0, std::abs(*number)))
                        << read.name << "!" << reference;
                } else {
                    continue;
                }
                ++cells;
            }
        }
        EXPECT_EQ(read.cells.size(), cells) << read.name;
    }
    EXPECT_EQ(sheets[0].at("B4"), test::xlsxText("2026/01"));
    EXPECT_GT(sheets[2].lastRow(), 60);
}

TEST_F(ReportWorkbook, ReceivedPairWithoutIndexesAndFailuresInOneItalianLine) {
    fs::create_directories(dir_ / "ricevuti");
    fs::copy_file(data_ / "kr202601.dbf", dir_ / "ricevuti/SanMichele-KR202601.dbf");
    fs::copy_file(data_ / "kw202601.dbf", dir_ / "ricevuti/ano.db");
    const fs::path xlsx = dir_ / "pair.xlsx";
    const auto result = test::runProgram(
        QUENDRA_REPORT_TOOL, {"--journal", (dir_ / "ricevuti/SanMichele-KR202601.dbf").string(), "--chart",
                              (dir_ / "ricevuti/ano.db").string(), "--year", "202502", "cartella", "--xlsx", xlsx.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(fs::is_regular_file(xlsx));
    EXPECT_EQ(test::namesIn(dir_ / "ricevuti"), (std::vector<std::string>{"SanMichele-KR202601.dbf", "ano.db"}));
    if (test::openpyxlAvailable()) {
        const auto sheets = test::readWithOpenpyxl(xlsx);
        EXPECT_EQ(sheets.at(0).at("B1"), test::xlsxText("Parrocchia San Michele Arcangelo"));
        EXPECT_EQ(sheets.at(0).at("B4"), test::xlsxText("2025/02")) << "the year asked for, not the chart's name";
    }

    // A folder in the file's place: the older content stays, one Italian line, exit 1.
    fs::create_directories(dir_ / "occupato.xlsx" / "dentro");
    const auto refused = test::runProgram(
        QUENDRA_REPORT_TOOL, {"--data", data_.string(), "cartella", "--xlsx", (dir_ / "occupato.xlsx").string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Impossibile salvare la cartella di lavoro \"" + (dir_ / "occupato.xlsx").string() +
                               "\": al posto del file c'è una cartella.\n");
    EXPECT_EQ(refused.out, "");
}

}  // namespace
}  // namespace quendra
