// quendra-report's annual report on demo years: the PDF read back with pdftotext, its
// figures against a recomputation from the journal rows as dbfread reads them.

#include "storage/account_code.h"
#include "storage/amount_format.h"

#include "support/dbfread_reader.h"
#include "support/file_contents.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quendra;

namespace {

namespace fs = std::filesystem;

struct Row {
    std::string cod, codd;
    double income = 0, expense = 0;
    bool opening = false;
};

std::vector<Row> journalRows(const fs::path& journal) {
    std::vector<Row> rows;
    for (const test::JsonValue& r : test::readWithDbfread(journal).records) {
        rows.push_back({r["COD"].text, r["CODD"].text, r["EINNAHME"].number, r["AUSGABE"].number,
                        r["EROEFFNUNG"].number > 0});
    }
    return rows;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool liquid(const std::string& code) { return storage::isLiquid(code); }
std::string amount(double value) { return storage::formatNumber(value, storage::Picture::Amount); }

// The annual report's totals, straight from the rows.
struct Expected {
    double opening = 0, saldo = 0, liquidity = 0, property = 0;
    double netOpening = 0, netYearEnd = 0;
};

Expected recompute(const std::vector<Row>& rows) {
    Expected e;
    double movedOutsideCash = 0;
    for (const Row& r : rows) {
        const double net = r.income - r.expense;
        const bool assetOrLiability = startsWith(r.cod, " C") || startsWith(r.cod, " P");
        if (r.cod == r.codd) e.opening += (liquid(r.cod) ? 1 : -1) * net;
        if ((startsWith(r.cod, " E") || startsWith(r.cod, " A")) && liquid(r.codd)) e.saldo += net;
        if (assetOrLiability && liquid(r.codd)) e.liquidity += net;
        if (assetOrLiability && !liquid(r.cod)) movedOutsideCash += net;
        // Form 2 without its absolute values: the demo's amounts are never negative.
        const double sign = liquid(r.codd) ? 1 : 0;
        const double other = (startsWith(r.cod, " C") && !liquid(r.cod)) || startsWith(r.cod, " P") ? -1 : 0;
        e.netYearEnd += (sign + other) * net;
        if (r.opening) e.netOpening += (sign + other) * net;
    }
    e.liquidity += e.saldo;
    e.property = e.liquidity - movedOutsideCash;
    return e;
}

// The last blank-separated words of the first line that starts with label.
std::vector<std::string> figuresAfter(const std::string& text, const std::string& label, std::size_t count) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto start = line.find_first_not_of(" \f");  // a page begins with a form feed
        if (start == std::string::npos || line.compare(start, label.size(), label) != 0) continue;
        std::istringstream words(line.substr(start + label.size()));
        std::vector<std::string> all;
        for (std::string w; words >> w;) all.push_back(w);
        if (all.size() < count) return all;
        return {all.end() - static_cast<long>(count), all.end()};
    }
    return {"(no line " + label + ")"};
}

std::string pdfText(const fs::path& pdf, const fs::path& dir, int page = 0) {
    std::vector<std::string> args{"-layout"};
    if (page > 0) args.insert(args.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
    args.insert(args.end(), {pdf.string(), (dir / "out.txt").string()});
    const auto result = test::runProgram("/usr/bin/pdftotext", args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return test::readFile(dir / "out.txt");
}

class AnnualReportPdf : public ::testing::TestWithParam<int> {
protected:
    void makeYear(int seed) {
        const auto made = test::runProgram(QUENDRA_DB_TOOL, {"demo", data_.string(), "--year", "2026", "--movements",
                                                             "150", "--seed", std::to_string(seed)});
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    fs::path report(const std::string& name) {
        const fs::path pdf = dir_ / (name + ".pdf");
        const auto result =
            test::runProgram(QUENDRA_REPORT_TOOL, {"--data", data_.string(), name, "--pdf", pdf.string()});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return pdf;
    }

    test::TempDir dir_;
    fs::path data_ = dir_ / "krw";
};

TEST_P(AnnualReportPdf, BilancioHasTheFourPagesAndTheFiguresOfTheRows) {
    makeYear(GetParam());
    const fs::path pdf = report("bilancio");
    const std::string text = pdfText(pdf, dir_.path());
    const Expected e = recompute(journalRows(data_ / "kr202601.dbf"));

    // The title page carries no page number; the forms follow on numbered pages.
    const std::string title = pdfText(pdf, dir_.path(), 1);
    EXPECT_NE(title.find("DIOCESI DI VARNELIA"), std::string::npos) << title;
    EXPECT_NE(title.find("per l'anno 2026"), std::string::npos);
    EXPECT_EQ(title.find("- 1 -"), std::string::npos);
    EXPECT_NE(pdfText(pdf, dir_.path(), 2).find("(Modulo 1 di 4)"), std::string::npos);
    for (const char* module : {"(Modulo 1 di 4)", "(Modulo 2 di 4)", "(Modulo 3 di 4)"})
        EXPECT_NE(text.find(module), std::string::npos) << module;
    std::string packed = text;
    std::erase(packed, ' ');
    EXPECT_NE(packed.find("\n-2-"), std::string::npos);
    EXPECT_NE(packed.find("\n-3-"), std::string::npos);

    EXPECT_EQ(figuresAfter(text, "SALDO entrate/uscite", 1), std::vector<std::string>{amount(e.saldo)});
    EXPECT_EQ(figuresAfter(text, "TOTALE liquidità", 1), std::vector<std::string>{amount(e.liquidity)});
    EXPECT_EQ(figuresAfter(text, "TOTALE stato patrimoniale", 1), std::vector<std::string>{amount(e.property)});
    EXPECT_EQ(figuresAfter(text, "SOMMA", 1), std::vector<std::string>{amount(e.opening)});
    EXPECT_EQ(figuresAfter(text, "ATTIVA - PASSIVA", 2),
              (std::vector<std::string>{amount(e.netOpening), amount(e.netYearEnd)}));
    EXPECT_EQ(figuresAfter(text, "Cambiamento anno precedente", 1),
              std::vector<std::string>{amount(e.netYearEnd - e.netOpening)});
}

INSTANTIATE_TEST_SUITE_P(DemoYears, AnnualReportPdf, ::testing::Values(3, 11));

TEST_F(AnnualReportPdf, EachFormAlone) {
    makeYear(5);
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"frontespizio", "dell'amministrazione ordinaria"},
        {"riepilogo", "RIEPILOGO"},
        {"patrimoniale", "SITUAZIONE PATRIMONIALE"},
        {"dettagli", "CONTO SOTTOCONTO DETTAGLI anno - 2026"},
    };
    for (const auto& [name, heading] : forms) {
        const std::string text = pdfText(report(name), dir_.path());
        EXPECT_NE(text.find(heading), std::string::npos) << name;
    }
}

}  // namespace
