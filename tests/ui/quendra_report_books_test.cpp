// The journal, the statement listings and the ledgers from quendra-report: a demo year
// in, a PDF out, read back with pdftotext.

#include "support/demo_report_year.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace quendra;

namespace {

class QuendraReportBooks : public ::testing::Test {
protected:
    // The PDF's text; fails the test when the program does not succeed quietly.
    std::string run(std::vector<std::string> args) {
        const auto pdf = year_.dir / "out.pdf";
        args.insert(args.begin(), {"--data", year_.data.string()});
        args.insert(args.end(), {"--pdf", pdf.string()});
        const auto result = test::runProgram(QUENDRA_REPORT_TOOL, args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return result.exitCode == 0 ? test::pdfText(pdf) : std::string();
    }
    static bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
    // pdftotext closes up the blanks of "- 3 -".
    static bool hasPage(std::string text, int page) {
        std::erase(text, ' ');
        return has(text, "\n-" + std::to_string(page) + "-\n");
    }

    test::DemoReportYear year_{400};
};

TEST_F(QuendraReportBooks, JournalOverSeveralPagesCarriesItsSums) {
    const std::string text = run({"giornale"});
    EXPECT_TRUE(has(text, "Giornale della parrocchia: ")) << text.substr(0, 400);
    EXPECT_TRUE(has(text, "SOMMA"));
    EXPECT_TRUE(has(text, "RIPORTO"));
    EXPECT_TRUE(has(text, "TOTALE:"));
    EXPECT_TRUE(has(text, "ATTIVITÀ (titoli ecc.)"));
    EXPECT_TRUE(hasPage(text, 3));

    const std::string part = run({"giornale", "--da", "50", "--a", "60"});
    EXPECT_TRUE(has(part, "RIPORTO"));
    EXPECT_TRUE(hasPage(part, 1));
    EXPECT_FALSE(hasPage(part, 2));
    EXPECT_TRUE(has(run({"giornale", "--da", "01.03.2026", "--a", "31.03.2026"}), "31.03.2026"));
}

TEST_F(QuendraReportBooks, StatementListingsInTheirThreeDepths) {
    const std::string all = run({"movimenti"});
    for (const char* part : {"Entrate", "Uscite", "Altre liquidità", "SALDO entrate/uscite", "TOTALE liquidità",
                             "TOTALE stato patrimoniale", "sottoconto:", "Somma sottoconti:", "oggetto"}) {
        EXPECT_TRUE(has(all, part)) << part;
    }
    const std::string subs = run({"sottoconti"});
    EXPECT_TRUE(has(subs, "Somma sottoconti:"));
    EXPECT_FALSE(has(subs, "oggetto"));
    const std::string accounts = run({"conti"});
    EXPECT_TRUE(has(accounts, "Somma conti:"));
    EXPECT_FALSE(has(accounts, "sottoconto:"));

    const std::string narrowed = run({"conti", "--da", "01.03.2026", "--a", "31.03.2026"});
    EXPECT_TRUE(has(narrowed, "Uscite"));
    EXPECT_FALSE(has(narrowed, "SALDO"));
    EXPECT_FALSE(has(run({"movimenti", "--testo", "nessun movimento ha questo testo"}), "Entrate"));
}

TEST_F(QuendraReportBooks, CashBoxAndAccountLedgers) {
    const std::string boxes = run({"liquidita", "--casse", "C0101,C0201", "--dettagli", "--da", "01.04.2026", "--a",
                                   "31.12.2026"});
    EXPECT_TRUE(has(boxes, "sottoconto:"));
    EXPECT_TRUE(has(boxes, "RIPORTO"));
    EXPECT_TRUE(has(boxes, "(dif.:"));
    EXPECT_TRUE(has(boxes, "TOTALE:"));
    const std::string accounts = run({"estratto", "--conti", "A01,E01"});
    EXPECT_TRUE(has(accounts, "Somma sottoconti:"));
    EXPECT_FALSE(has(accounts, "RIPORTO"));
}

TEST_F(QuendraReportBooks, BadChoicesAreOneItalianLine) {
    const auto pdf = year_.dir / "no.pdf";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"giornale", "--da", "5", "--a", "01.03.2026"},
             {"liquidita"},
             {"estratto", "--casse", "C0101"},
             {"movimenti", "--da", "3", "--a", "9"},
         }) {
        std::vector<std::string> full{"--data", year_.data.string()};
        full.insert(full.end(), args.begin(), args.end());
        full.insert(full.end(), {"--pdf", pdf.string()});
        const auto result = test::runProgram(QUENDRA_REPORT_TOOL, full);
        EXPECT_EQ(result.exitCode, 1) << args[0];
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_FALSE(std::filesystem::exists(pdf));
    }
}

}  // namespace
