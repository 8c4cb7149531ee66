// The year's workbook as a spreadsheet program sees it: written to a file and read back
// with openpyxl.

#include "export/year_export.h"

#include "export/export_year.h"
#include "support/openpyxl_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendra::spreadsheet {
namespace {

using test::in;
using test::out;
using test::xlsxNumber;
using test::xlsxText;
using test::XlsxSheet;

class WorkbookReadBack : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::openpyxlAvailable()) GTEST_SKIP() << "/usr/bin/python3 without openpyxl";
    }

    std::vector<XlsxSheet> exportAndRead(const std::vector<test::Movement>& rows) {
        year_.write(rows);
        const std::filesystem::path file = year_.dir / "Documenti" / kWorkbookFileName;
        exportYear(year_.journal, year_.chart, year_.number, file);
        return test::readWithOpenpyxl(file);
    }

    static void expectRow(const XlsxSheet& sheet, int row, const std::vector<test::XlsxCell>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string reference = std::string(1, char('A' + i)) + std::to_string(row);
            EXPECT_EQ(sheet.at(reference), cells[i]) << sheet.name << "!" << reference;
        }
    }

    test::ExportYear year_;
};

TEST_F(WorkbookReadBack, FiveSheetsInOrderWithTheirHeadingsTextsAndNumbersOnly) {
    const auto sheets = exportAndRead({in(" C0101", " C0101", 250.5, 2), out(" A0101", " C0101", 12.25)});
    ASSERT_EQ(sheets.size(), 5u);
    EXPECT_EQ(sheets[0].name, "Pfarrei");
    EXPECT_EQ(sheets[1].name, "Uebertrag");
    EXPECT_EQ(sheets[2].name, "Journal");
    EXPECT_EQ(sheets[3].name, "Spezifikationen");
    EXPECT_EQ(sheets[4].name, "Preventivo");

    expectRow(sheets[0], 1, {xlsxText("Pfarrei"), xlsxText("Parrocchia San Vigilio")});
    expectRow(sheets[0], 2, {xlsxText("Ort"), xlsxText("Lavis")});
    expectRow(sheets[0], 3, {xlsxText("Dekanat"), xlsxText("Decanato di Mezzocorona")});
    expectRow(sheets[0], 4, {xlsxText("Rechnungsjahr"), xlsxText("2015/01")});
    expectRow(sheets[1], 1, {xlsxText("Kassa"), xlsxText("Spezifikation"), xlsxText("Übertrag"), xlsxText("am 31.12")});
    expectRow(sheets[2], 1, {xlsxText("Nr"), xlsxText("Datum"), xlsxText("Code"), xlsxText("Kassa"),
                             xlsxText("Spezifikation"), xlsxText("Einnahme"), xlsxText("Ausgabe")});
    expectRow(sheets[3], 1,
              {xlsxText("CodeA"), xlsxText("Z"), xlsxText("KontoA"), xlsxText("SummeUK"), xlsxText("SummeHK")});

    expectRow(sheets[4], 1, {xlsxText("Codice"), xlsxText("Testo"), xlsxText("Preventivo"), xlsxText("Consuntivo"),
                             xlsxText("Differenza")});
    // A year without a budget: nothing planned.
    EXPECT_EQ(sheets[4].at("A2"), xlsxText(" A0101"));
    EXPECT_EQ(sheets[4].at("C2"), xlsxNumber(0));
    EXPECT_EQ(sheets[4].at("E2"), xlsxNumber(12.25));
    // Codes keep their leading blank; amounts are numbers, dates and numbers as texts.
    expectRow(sheets[2], 2, {xlsxText("2"), xlsxText("01.03.2015"), xlsxText(" A0101"), xlsxText(" C0101"),
                             xlsxText("Uscita"), xlsxNumber(0), xlsxNumber(12.25), xlsxText("KONTOBEWEGUNG")});
    EXPECT_EQ(sheets[2].at("J3"), xlsxText("Eröffnung"));
    EXPECT_EQ(sheets[2].at("L3"), xlsxText("2"));
    EXPECT_EQ(sheets[2].at("I3"), xlsxNumber(238.25));
    for (const XlsxSheet& sheet : sheets) {
        for (const auto& [reference, cell] : sheet.cells) {
            EXPECT_TRUE(cell.type == "s" || cell.type == "n") << sheet.name << "!" << reference;
        }
    }
}

TEST_F(WorkbookReadBack, YearWithoutMovementsHoldsHeadingsAndZeroAtTheLastRowPositions) {
    const auto sheets = exportAndRead({});
    ASSERT_EQ(sheets.size(), 5u);
    const XlsxSheet& uebertrag = sheets[1];
    const XlsxSheet& journal = sheets[2];
    const XlsxSheet& spezifikationen = sheets[3];
    EXPECT_EQ(uebertrag.at("F2"), xlsxNumber(0));
    EXPECT_EQ(uebertrag.cells.size(), 5u);
    EXPECT_EQ(journal.at("I1"), xlsxNumber(0));
    EXPECT_EQ(journal.lastRow(), 1);
    EXPECT_EQ(journal.cells.size(), 8u);
    EXPECT_EQ(spezifikationen.at("I2"), xlsxNumber(0));
    EXPECT_EQ(spezifikationen.lastRow(), 2);
    EXPECT_EQ(spezifikationen.cells.size(), 6u);
}

// A bank loan through a bank account, an account with two expenses, a group that nets to
// nothing, and accounts inside and outside the Z code table.
TEST_F(WorkbookReadBack, LoanTwiceOneRowPerAccountEmptyZeroGroupAndZCodes) {
    const auto sheets = exportAndRead({in(" P0201", " C0201", 1000), out(" A0101", " C0101", 100),
                                       out(" A0101", " C0101", 20), out(" A0201", " C0101", 50),
                                       in(" A0202", " C0101", 50), out(" A1204", " C0101", 10),
                                       out(" A1601", " C0101", 5)});
    const XlsxSheet& journal = sheets.at(2);
    const XlsxSheet& spez = sheets.at(3);

    // The loan: income through the bank in pass 1, a liability movement under
    // "Ausgabe" in pass 3.
    expectRow(journal, 8, {xlsxText("1"), xlsxText("01.03.2015"), xlsxText(" P0201"), xlsxText(" C0201"),
                           xlsxText("Entrata"), xlsxNumber(1000), xlsxNumber(0), xlsxText("KONTOBEWEGUNG")});
    expectRow(journal, 9, {xlsxText("1"), xlsxText("01.03.2015"), xlsxText(" P0201"), xlsxText(" C0201"),
                           xlsxText("Entrata"), xlsxNumber(0), xlsxNumber(1000), xlsxText("AUFGENOMMENE DARLEHEN")});
    EXPECT_EQ(journal.lastRow(), 9);
    expectRow(spez, 19, {xlsxText(" P0200"), test::kXlsxEmpty, xlsxText("PRESTITI E SCOPERTI BANCARI"),
                         test::kXlsxEmpty, xlsxNumber(-1000), xlsxText("AUFGENOMMENE DARLEHEN")});
    expectRow(spez, 20, {xlsxText(" P0201"), test::kXlsxEmpty, xlsxText("Prestito bancario"), xlsxNumber(-1000),
                         test::kXlsxEmpty, xlsxText("AUFGENOMMENE DARLEHEN")});

    // A0101: one account row holding the net of both movements.
    expectRow(spez, 3, {xlsxText(" A0100"), test::kXlsxEmpty, xlsxText("SPESE GENERALI"), test::kXlsxEmpty,
                        xlsxNumber(-120), xlsxText("KONTOBEWEGUNG")});
    expectRow(spez, 4, {xlsxText(" A0101"), xlsxText("x"), xlsxText("Quota parrocchiale"), xlsxNumber(-120)});
    EXPECT_EQ(spez.at("A5"), test::kXlsxEmpty);

    // A02 nets to nothing: an empty group row above its two account rows.
    for (const char* column : {"A", "B", "C", "D", "E", "F"}) EXPECT_EQ(spez.at(std::string(column) + "6"), test::kXlsxEmpty);
    expectRow(spez, 7, {xlsxText(" A0201"), xlsxText("x"), xlsxText("Culto"), xlsxNumber(-50)});
    expectRow(spez, 8, {xlsxText(" A0202"), xlsxText("x"), xlsxText("Fiori"), xlsxNumber(50)});

    expectRow(spez, 11, {xlsxText(" A1204"), xlsxText("4A"), xlsxText("Contributo diocesano"), xlsxNumber(-10)});
    expectRow(spez, 14, {xlsxText(" A1601"), test::kXlsxEmpty, xlsxText("Varie"), xlsxNumber(-5)});

    // Net worth: the liquidity 1000 - 120 - 10 - 5 less the loan.
    EXPECT_EQ(journal.at("I9"), xlsxNumber(-135));
    EXPECT_EQ(spez.at("I20"), xlsxNumber(-135));
    EXPECT_EQ(spez.lastRow(), 20);
    EXPECT_EQ(sheets.at(1).at("F2"), xlsxNumber(-135));
}

}  // namespace
}  // namespace quendra::spreadsheet
