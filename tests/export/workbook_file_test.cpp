#include "export/workbook_file.h"

#include "export/export_error.h"

#include "support/file_contents.h"
#include "support/openpyxl_reader.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <sys/stat.h>

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

mode_t modeOf(const fs::path& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_mode & 07777;
}

// What another program of the office finds in the file: its mode, numbers to the cent,
// texts as they were typed, and who wrote it.
TEST_F(WorkbookFile, AnOfficeReadsWhatWasMeant) {
    const mode_t mask = ::umask(022);
    saveWorkbook(smallBook("San Vigilio"), target_);
    EXPECT_EQ(modeOf(target_), 0644u);
    fs::permissions(target_, fs::perms(0640));
    Workbook book = smallBook("San Vigilio");
    book.pfarrei.setText(4, 2, "2026/01");
    book.journal.setText(2, 5, "Rif. _x0041_ e _X00e9_ e _x12_");
    book.journal.setNumber(2, 6, 0.1 + 0.2 + 34096.04);
    book.journal.setNumber(2, 7, -1e-9);
    saveWorkbook(book, target_);
    ::umask(mask);
    EXPECT_EQ(modeOf(target_), 0640u) << "a replaced file keeps its mode";

    // The cell's text as Excel and LibreOffice read it: "_xHHHH_" is the character HHHH.
    const auto cellText = test::runProgram(
        "/usr/bin/python3",
        {"-c",
         "import html, re, sys, zipfile\n"
         "sheet = zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet3.xml').decode()\n"
         "text = html.unescape(re.search(r'<c r=\"E2\"[^>]*><is><t[^>]*>(.*?)</t>', sheet).group(1))\n"
         "print(re.sub(r'_[xX]([0-9A-Fa-f]{4})_', lambda m: chr(int(m.group(1), 16)), text))",
         target_.string()});
    EXPECT_EQ(cellText.out, "Rif. _x0041_ e _X00e9_ e _x12_\n") << cellText.err;
    // The application an office's properties dialog names, and every part intact.
    const auto application = test::runProgram(
        "/usr/bin/python3", {"-c",
                             "import re, sys, zipfile\n"
                             "book = zipfile.ZipFile(sys.argv[1])\n"
                             "print(book.testzip(), re.search(r'<Application>(.*?)</Application>', "
                             "book.read('docProps/app.xml').decode()).group(1))",
                             target_.string()});
    EXPECT_EQ(application.out, "None Quendra\n") << application.err;

    if (!test::openpyxlAvailable()) GTEST_SKIP() << "/usr/bin/python3 without openpyxl";
    const auto journal = test::readWithOpenpyxl(target_).at(2);
    EXPECT_EQ(journal.at("F2"), test::xlsxNumber(34096.34));
    EXPECT_EQ(journal.at("G2"), test::xlsxNumber(0));
    const auto properties = test::runProgram(
        "/usr/bin/python3", {"-c", "import openpyxl, sys; p = openpyxl.load_workbook(sys.argv[1]).properties; "
                                   "print(p.creator); print(p.title)",
                             target_.string()});
    EXPECT_EQ(properties.out, "Quendra\nQuendra: San Vigilio - 2026/01\n") << properties.err;
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
