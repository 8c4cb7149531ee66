// quendra-report as a user runs it: a demo year in, a PDF out, checked with pdftotext.

#include "support/file_contents.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

using namespace quendra;

namespace {

std::string pdfText(const std::filesystem::path& pdf, const std::filesystem::path& dir) {
    const auto result = test::runProgram("/usr/bin/pdftotext", {"-layout", pdf.string(), (dir / "out.txt").string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return test::readFile(dir / "out.txt");
}

struct DemoYear {
    test::TempDir dir;
    std::filesystem::path data = dir / "krw";

    DemoYear() {
        const auto made = test::runProgram(QUENDRA_DB_TOOL, {"demo", data.string(), "--year", "2026", "--movements",
                                                             "40", "--seed", "7"});
        EXPECT_EQ(made.exitCode, 0) << made.err;
    }
};

}  // namespace

TEST(QuendraReport, ChartListingOfADemoYearAsPdf) {
    DemoYear year;
    const auto pdf = year.dir / "piano.pdf";
    const auto result = test::runProgram(QUENDRA_REPORT_TOOL, {"--data", year.data.string(), "piano", "--pdf", pdf.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string text = pdfText(pdf, year.dir.path());
    EXPECT_NE(text.find("Piano conti 2026/01"), std::string::npos) << text;
    EXPECT_NE(text.find("USCITE"), std::string::npos);
    EXPECT_NE(text.find("A01 "), std::string::npos);
    EXPECT_NE(text.find("01. "), std::string::npos);
    // pdftotext drops the narrow blanks of the page numbers "- 1 -".
    std::string packed = text;
    std::erase(packed, ' ');
    EXPECT_NE(packed.find("\n-1-"), std::string::npos);
    EXPECT_NE(packed.find("\n-2-"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pdf.string() + ".part"));
}

// What an office's PDF reader shows in the document's properties, and what an archive
// checks: PDF/A-1b, every font embedded, the report, year and parish named.
TEST(QuendraReport, PdfIsArchivableAndNamesReportYearAndParish) {
    DemoYear year;
    const auto pdf = year.dir / "piano.pdf";
    ASSERT_EQ(test::runProgram(QUENDRA_REPORT_TOOL, {"--data", year.data.string(), "piano", "--pdf", pdf.string()}).exitCode, 0);
    const auto info = test::runProgram("/usr/bin/pdfinfo", {pdf.string()});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    const std::regex titleLine("Title: +Piano conti - esercizio 2026/01 - (.+) \\((.+)\\)\n");
    std::smatch title;
    ASSERT_TRUE(std::regex_search(info.out, title, titleLine)) << info.out;
    const std::string parish = title[1];
    EXPECT_NE(info.out.find("Author:          " + parish + "\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Creator:         Quendra\n"), std::string::npos) << info.out;
    const auto meta = test::runProgram("/usr/bin/pdfinfo", {"-meta", pdf.string()});
    EXPECT_NE(meta.out.find("pdfaid:part=\"1\""), std::string::npos) << meta.out;
    EXPECT_NE(meta.out.find("<rdf:li>" + parish + "</rdf:li>"), std::string::npos) << meta.out;
    const auto fonts = test::runProgram("/usr/bin/pdffonts", {pdf.string()});
    EXPECT_EQ(fonts.exitCode, 0);
    EXPECT_FALSE(std::regex_search(fonts.out, std::regex(" no +(yes|no) +(yes|no) +[0-9]+ +[0-9]+\n"))) << fonts.out;
    EXPECT_NE(pdfText(pdf, year.dir.path()).find("Piano conti 2026/01"), std::string::npos);
}

TEST(QuendraReport, JournalAndChartPairWithoutIndexFiles) {
    DemoYear year;
    std::filesystem::create_directories(year.dir / "ricevuti");
    std::filesystem::copy_file(year.data / "kr202601.dbf", year.dir / "ricevuti/SanMichele-KR202601.dbf");
    std::filesystem::copy_file(year.data / "kw202601.dbf", year.dir / "ricevuti/SanMichele-KW202601.dbf");
    const auto pdf = year.dir / "pair.pdf";
    const auto result = test::runProgram(QUENDRA_REPORT_TOOL,
                                         {"--journal", (year.dir / "ricevuti/SanMichele-KR202601.dbf").string(), "--chart",
                                          (year.dir / "ricevuti/SanMichele-KW202601.dbf").string(), "piano", "--pdf",
                                          pdf.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(pdfText(pdf, year.dir.path()).find("Piano conti 2026/01"), std::string::npos);
    EXPECT_EQ(test::namesIn(year.dir / "ricevuti"),
              (std::vector<std::string>{"SanMichele-KR202601.dbf", "SanMichele-KW202601.dbf"}));
}

TEST(QuendraReport, FailuresAreOneItalianLineAndExitOne) {
    DemoYear year;
    const auto pdf = year.dir / "no.pdf";
    const std::string journal = test::readFile(year.data / "kr202601.dbf");
    const std::string settings = test::readFile(year.data / "tovald.INI");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--data", year.data.string(), "inventario", "--pdf", pdf.string()},
             {"--data", (year.dir / "manca").string(), "piano", "--pdf", pdf.string()},
             {"--data", year.data.string(), "piano", "--pdf", pdf.string(), "--da", "ieri"},
             {"--data", year.data.string(), "piano", "--pdf", (year.dir / "cartella-mancante/x.pdf").string()},
             {"--data", year.data.string(), "giornale", "--pdf", (year.data / "KR202601.dbf").string()},
             {"--data", year.data.string(), "cartella", "--xlsx", (year.data / "tovald.INI").string()},
         }) {
        const auto result = test::runProgram(QUENDRA_REPORT_TOOL, args);
        EXPECT_EQ(result.exitCode, 1) << args[2];
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(test::readFile(year.data / "kr202601.dbf"), journal);
    EXPECT_EQ(test::readFile(year.data / "tovald.INI"), settings);
    const auto help = test::runProgram(QUENDRA_REPORT_TOOL, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("piano"), std::string::npos);
}
