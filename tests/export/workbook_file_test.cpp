#include "export/workbook_file.h"

#include "export/export_error.h"

#include "support/file_contents.h"
#include "support/openpyxl_reader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendra::spreadsheet {
namespace {

namespace fs = std::filesystem;

Workbook smallBook(const std::string& parish) {
    Workbook book;
    book.pfarrei.setText(1, 1, "Pfarrei");
    book.pfarrei.setText(1, 2, parish);
    book.journal.setNumber(3, 9, -12.5);
    return book;
}

// The Italian message of a save that fails, or "" when it does not.
std::string failureOf(const Workbook& book, const fs::path& target) {
    try {
        saveWorkbook(book, target);
    } catch (const ExportError& error) {
        return error.what();
    }
    return {};
}

class WorkbookFile : public ::testing::Test {
protected:
    test::TempDir dir_;
    fs::path documents_ = dir_ / "home" / "Documenti";
    fs::path target_ = documents_ / "tovald.mappe.xlsx";
};

TEST_F(WorkbookFile, MakesTheMissingFolderAndLeavesOnlyTheWorkbook) {
    saveWorkbook(smallBook("San Vigilio"), target_);
    EXPECT_EQ(test::namesIn(documents_), std::vector<std::string>{"tovald.mappe.xlsx"});
    if (!test::openpyxlAvailable()) GTEST_SKIP() << "/usr/bin/python3 without openpyxl";
    const auto sheets = test::readWithOpenpyxl(target_);
    ASSERT_EQ(sheets.size(), 5u);
    EXPECT_EQ(sheets[0].at("B1"), test::xlsxText("San Vigilio"));
    EXPECT_EQ(sheets[2].at("I3"), test::xlsxNumber(-12.5));
    EXPECT_TRUE(sheets[3].cells.empty());
}

TEST_F(WorkbookFile, ReplacesAnOlderWorkbookWhole) {
    saveWorkbook(smallBook("Vecchia"), target_);
    saveWorkbook(smallBook("Nuova"), target_);
    EXPECT_EQ(test::namesIn(documents_), std::vector<std::string>{"tovald.mappe.xlsx"});
    if (!test::openpyxlAvailable()) GTEST_SKIP() << "/usr/bin/python3 without openpyxl";
    EXPECT_EQ(test::readWithOpenpyxl(target_).at(0).at("B1"), test::xlsxText("Nuova"));
}

// A text longer than a cell can hold makes the library refuse the sheet halfway: the
// older workbook stays, byte for byte, and no temporary file is left behind.
TEST_F(WorkbookFile, FailedSaveKeepsTheOlderWorkbookAndSaysWhyInItalian) {
    saveWorkbook(smallBook("Vecchia"), target_);
    const std::string before = test::readFile(target_);
    Workbook tooLong = smallBook("Nuova");
    tooLong.journal.setText(2, 5, std::string(40'000, 'x'));
    EXPECT_EQ(failureOf(tooLong, target_), "Impossibile salvare la cartella di lavoro \"" + target_.string() +
                                               "\": un testo è più lungo dei 32.767 caratteri di una cella.");
    EXPECT_EQ(test::readFile(target_), before);
    EXPECT_EQ(test::namesIn(documents_), std::vector<std::string>{"tovald.mappe.xlsx"});
}

TEST_F(WorkbookFile, OccupiedPathsAreRefusedWithoutLeftovers) {
    fs::create_directories(target_ / "inside");
    EXPECT_EQ(failureOf(smallBook("x"), target_), "Impossibile salvare la cartella di lavoro \"" + target_.string() +
                                                       "\": al posto del file c'è una cartella.");
    EXPECT_EQ(test::namesIn(documents_), std::vector<std::string>{"tovald.mappe.xlsx"});

    const fs::path file = test::writeFile(dir_ / "not-a-folder", "x");
    const fs::path below = file / "tovald.mappe.xlsx";
    EXPECT_EQ(failureOf(smallBook("x"), below), "Impossibile salvare la cartella di lavoro \"" + below.string() +
                                                    "\": nel percorso c'è un file al posto di una cartella.");
    EXPECT_EQ(test::readFile(file), "x");
}

}  // namespace
}  // namespace quendra::spreadsheet
