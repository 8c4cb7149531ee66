#include "export/year_workbook.h"

#include "export/z_codes.h"

#include "export/export_year.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quendra::spreadsheet {
namespace {

using test::in;
using test::out;

// "B12" → the cell of row 12, column 2.
const CellValue& cell(const Sheet& sheet, const std::string& reference) {
    const std::size_t digits = reference.find_first_of("0123456789");
    std::size_t column = 0;
    for (std::size_t i = 0; i < digits; ++i) column = column * 26 + std::size_t(reference[i] - 'A' + 1);
    return sheet.at(std::stoul(reference.substr(digits)), column);
}

CellValue text(const char* value) { return std::string(value); }
CellValue number(double value) { return value; }
const CellValue kEmpty;

// The references of a sheet's rows that hold anything, for "nothing else was written".
std::set<std::size_t> usedRows(const Sheet& sheet) {
    std::set<std::size_t> rows;
    for (std::size_t row = 1; row <= sheet.lastRow(); ++row) {
        for (const CellValue& value : sheet.row(row)) {
            if (!std::holds_alternative<std::monostate>(value)) rows.insert(row);
        }
    }
    return rows;
}

class YearWorkbook : public ::testing::Test {
protected:
    Workbook build(const std::vector<test::Movement>& rows) {
        year_.write(rows);
        return buildWorkbook(year_.journal, year_.chart, year_.number);
    }

    test::ExportYear year_;
};

TEST_F(YearWorkbook, ParishSheetReadsTheHeaderRowAndTheYearFromTheChartName) {
    const Workbook book = build({});
    const Sheet& p = book.pfarrei;
    EXPECT_EQ(cell(p, "A1"), text("Pfarrei"));
    EXPECT_EQ(cell(p, "B1"), text("Parrocchia San Vigilio"));
    EXPECT_EQ(cell(p, "A2"), text("Ort"));
    EXPECT_EQ(cell(p, "B2"), text("Lavis"));
    EXPECT_EQ(cell(p, "A3"), text("Dekanat"));
    EXPECT_EQ(cell(p, "B3"), text("Decanato di Mezzocorona"));
    EXPECT_EQ(cell(p, "A4"), text("Rechnungsjahr"));
    EXPECT_EQ(cell(p, "B4"), text("2015/01"));
    EXPECT_EQ(usedRows(p), (std::set<std::size_t>{1, 2, 3, 4}));
}

// Cash boxes, an account with a refund, a second expense group, a security bought
// through the bank and a bank loan: every pass has rows, and the blocks of
// "Spezifikationen" keep their gaps.
TEST_F(YearWorkbook, PassesListMovementsAndTotalAccountsAndGroupsAtTheirRows) {
    const Workbook book = build({in(" E0101", " C0101", 500), out(" A0101", " C0101", 100), in(" A0101", " C0102", 30),
                                 out(" A0201", " C0101", 50), out(" C0501", " C0201", 200),
                                 in(" P0201", " C0201", 1000)});
    const Sheet& j = book.journal;
    // Pass 1 in account order, then the security once more, then the loan.
    const std::vector<std::pair<const char*, const char*>> listed = {
        {"2", " A0101"}, {"3", " A0101"}, {"4", " A0201"}, {"5", " C0501"},
        {"1", " E0101"}, {"6", " P0201"}, {"5", " C0501"}, {"6", " P0201"}};
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const std::string row = std::to_string(i + 2);
        EXPECT_EQ(cell(j, "A" + row), text(listed[i].first)) << row;
        EXPECT_EQ(cell(j, "C" + row), text(listed[i].second)) << row;
        EXPECT_EQ(cell(j, "B" + row), text("01.03.2015")) << row;
    }
    EXPECT_EQ(cell(j, "D3"), text(" C0102"));
    EXPECT_EQ(cell(j, "E3"), text("Entrata"));
    EXPECT_EQ(cell(j, "F3"), number(30));
    EXPECT_EQ(cell(j, "G3"), number(0));
    EXPECT_EQ(cell(j, "H3"), text("KONTOBEWEGUNG"));
    EXPECT_EQ(cell(j, "L3"), text("0"));
    EXPECT_EQ(cell(j, "J3"), kEmpty);
    // Passes 2 and 3 exchange the amounts.
    EXPECT_EQ(cell(j, "F8"), number(200));
    EXPECT_EQ(cell(j, "G8"), number(0));
    EXPECT_EQ(cell(j, "H8"), text("OBLIGATIONEN-WERTPAPIERE"));
    EXPECT_EQ(cell(j, "F9"), number(0));
    EXPECT_EQ(cell(j, "G9"), number(1000));
    EXPECT_EQ(cell(j, "H9"), text("AUFGENOMMENE DARLEHEN"));
    EXPECT_EQ(j.lastRow(), 9u);

    // Liquidity 350 + 30 + 800, security 200, loan 1000.
    EXPECT_EQ(book.netWorth, 380);
    EXPECT_EQ(cell(j, "I9"), number(380));
    for (int row = 2; row < 9; ++row) EXPECT_EQ(cell(j, "I" + std::to_string(row)), kEmpty) << row;

    const Sheet& s = book.spezifikationen;
    struct Line {
        const char* row;
        CellValue a, b, c, d, e, f;
    };
    const CellValue k1 = text("KONTOBEWEGUNG"), k2 = text("OBLIGATIONEN-WERTPAPIERE"), k3 = text("AUFGENOMMENE DARLEHEN");
    const std::vector<Line> lines = {
        {"3", text(" A0100"), kEmpty, text("SPESE GENERALI"), kEmpty, number(-70), k1},
        {"4", text(" A0101"), text("x"), text("Quota parrocchiale"), number(-70), kEmpty, k1},
        {"6", text(" A0200"), kEmpty, text("SPESE PER IL CULTO"), kEmpty, number(-50), k1},
        {"7", text(" A0201"), text("x"), text("Culto"), number(-50), kEmpty, k1},
        {"9", text(" C0500"), kEmpty, text("TITOLI"), kEmpty, number(-200), k1},
        {"10", text(" C0501"), kEmpty, text("Titoli di Stato"), number(-200), kEmpty, k1},
        {"12", text(" E0100"), kEmpty, text("OFFERTE E COLLETTE"), kEmpty, number(500), k1},
        {"13", text(" E0101"), kEmpty, text("Offerte"), number(500), kEmpty, k1},
        {"15", text(" P0200"), kEmpty, text("PRESTITI E SCOPERTI BANCARI"), kEmpty, number(1000), k1},
        {"16", text(" P0201"), kEmpty, text("Prestito bancario"), number(1000), kEmpty, k1},
        {"18", text(" C0500"), kEmpty, text("TITOLI"), kEmpty, number(200), k2},
        {"19", text(" C0501"), kEmpty, text("Titoli di Stato"), number(200), kEmpty, k2},
        {"21", text(" P0200"), kEmpty, text("PRESTITI E SCOPERTI BANCARI"), kEmpty, number(-1000), k3},
        {"22", text(" P0201"), kEmpty, text("Prestito bancario"), number(-1000), kEmpty, k3},
    };
    std::set<std::size_t> rows = {1};
    for (const Line& line : lines) {
        const std::string r = line.row;
        rows.insert(std::stoul(r));
        EXPECT_EQ(cell(s, "A" + r), line.a) << r;
        EXPECT_EQ(cell(s, "B" + r), line.b) << r;
        EXPECT_EQ(cell(s, "C" + r), line.c) << r;
        EXPECT_EQ(cell(s, "D" + r), line.d) << r;
        EXPECT_EQ(cell(s, "E" + r), line.e) << r;
        EXPECT_EQ(cell(s, "F" + r), line.f) << r;
    }
    EXPECT_EQ(usedRows(s), rows);
    EXPECT_EQ(cell(s, "I22"), number(380));

    const Sheet& u = book.uebertrag;
    EXPECT_EQ(cell(u, "F2"), number(380));
    // The cash boxes C01 are one group, named after its first box and coded with its last.
    const std::vector<std::vector<CellValue>> carried = {
        {text(" C0102"), text("Cassa parrocchiale"), number(0), number(380)},
        {text(" C0201"), text("Banca c/c"), number(0), number(800)},
        {text(" C0501"), text("Titoli di Stato"), number(0), number(200)},
        {text(" P0201"), text("Prestito bancario"), number(0), number(-1000)},
    };
    for (std::size_t i = 0; i < carried.size(); ++i) {
        const std::string r = std::to_string(i + 2);
        for (std::size_t c = 0; c < 4; ++c) {
            EXPECT_EQ(cell(u, std::string(1, char('A' + c)) + r), carried[i][c]) << r << " " << c;
        }
    }
    EXPECT_EQ(u.lastRow(), 5u);
}

// Passes 1-3 count an opening row only when eroeffnung is exactly 2; the carry-over
// sheet counts any value above 0.
TEST_F(YearWorkbook, OpeningRowsOfTheGroupsFollowTheirOwnRules) {
    const Workbook book = build({in(" C0101", " C0101", 800, 2), out(" C0101", " C0101", 800),
                                 in(" C0501", " C0201", 300, 1), out(" C0501", " C0201", 300)});
    const Sheet& s = book.spezifikationen;
    // C01: opened with 800 and spent, so it nets to nothing but keeps its group row.
    EXPECT_EQ(cell(s, "A3"), text(" C0100"));
    EXPECT_EQ(cell(s, "E3"), number(0));
    EXPECT_EQ(cell(s, "D4"), number(0));
    // C05 in pass 1: its opening row is marked 1, so the group row stays empty.
    EXPECT_EQ(cell(s, "A6"), kEmpty);
    EXPECT_EQ(cell(s, "E6"), kEmpty);
    EXPECT_EQ(cell(s, "A7"), text(" C0501"));
    EXPECT_EQ(cell(s, "D7"), number(0));

    const Sheet& j = book.journal;
    EXPECT_EQ(cell(j, "J2"), text("Eröffnung"));
    EXPECT_EQ(cell(j, "L2"), text("2"));
    EXPECT_EQ(cell(j, "J4"), kEmpty);
    EXPECT_EQ(cell(j, "L4"), text("1"));
    EXPECT_EQ(cell(j, "L5"), text("0"));

    const Sheet& u = book.uebertrag;
    EXPECT_EQ(cell(u, "A2"), text(" C0101"));
    EXPECT_EQ(cell(u, "C2"), number(800));
    EXPECT_EQ(cell(u, "D2"), number(0));
    EXPECT_EQ(cell(u, "A3"), text(" C0201"));
    EXPECT_EQ(cell(u, "C3"), number(300));
    EXPECT_EQ(cell(u, "D3"), number(0));
    // The security again, in the other-asset sign: the opening 300 came in as income.
    EXPECT_EQ(cell(u, "A4"), text(" C0501"));
    EXPECT_EQ(cell(u, "C4"), number(-300));
    EXPECT_EQ(cell(u, "D4"), number(0));
    EXPECT_EQ(book.netWorth, 0);
}

TEST_F(YearWorkbook, ProgressRunsToTwiceTheCashBoxRowsCountingEveryRowRead) {
    struct Recorder : ExportProgress {
        void started(std::size_t maximum) override { maxima.push_back(maximum); }
        void advanced(std::size_t count) override { counts.push_back(count); }
        std::vector<std::size_t> maxima, counts;
    } progress;
    year_.write({in(" E0101", " C0101", 5), out(" A0101", " C0101", 2), in(" P0201", " C0201", 9)});
    buildWorkbook(year_.journal, year_.chart, year_.number, &progress);
    EXPECT_EQ(progress.maxima, std::vector<std::size_t>{6});
    // Three rows through cash boxes read twice, the loan twice more.
    std::vector<std::size_t> expected;
    for (std::size_t count = 2; count <= 9; ++count) expected.push_back(count);
    EXPECT_EQ(progress.counts, expected);
}

TEST(ZCodes, EveryAccountOnceWithItsCode) {
    std::map<std::string_view, int> perCode;
    std::set<std::string_view> accounts;
    for (const ZCode& entry : zCodeTable()) {
        ++perCode[entry.code];
        accounts.insert(entry.account);
    }
    EXPECT_EQ(zCodeTable().size(), 82u);
    EXPECT_EQ(accounts.size(), 82u);
    EXPECT_EQ(perCode, (std::map<std::string_view, int>{{"0A", 22}, {"0E", 19}, {"4A", 1}, {"4E", 2}, {"x", 38}}));
    EXPECT_EQ(zCode("A1204"), "4A");
    EXPECT_EQ(zCode("A1315"), "0A");
    EXPECT_EQ(zCode("E0715"), "0E");
    EXPECT_EQ(zCode("E0602"), "4E");
    EXPECT_EQ(zCode("A0909"), "x");
    EXPECT_EQ(zCode("E0716"), "");
    EXPECT_EQ(zCode("A120"), "");
    EXPECT_EQ(zCode(""), "");
}

}  // namespace
}  // namespace quendra::spreadsheet
