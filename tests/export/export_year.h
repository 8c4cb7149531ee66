#pragma once

#include "support/chart_fixture.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <string>
#include <vector>

// A year 2015/01 for the workbook's tests: a small chart and a journal of the test's rows.
namespace quendra::test {

inline const std::vector<ChartRow> kExportChart = {
    {"  PFAR", "Parrocchia San Vigilio", "Lavis", "Decanato di Mezzocorona"},
    {" A0101", "Quota parrocchiale", "Spese generali", "Uscite"},
    {" A0201", "Culto", "Spese per il culto", "Uscite"},
    {" A0202", "Fiori", "Spese per il culto", "Uscite"},
    {" A1204", "Contributo diocesano", "Contributi", "Uscite"},
    {" A1601", "Varie", "Altre uscite", "Uscite"},
    {" C0101", "Cassa parrocchiale", "Cassa", "Attiva"},
    {" C0102", "Cassa oratorio", "Cassa", "Attiva"},
    {" C0201", "Banca c/c", "Banca", "Attiva"},
    {" C0501", "Titoli di Stato", "Titoli", "Attiva"},
    {" E0101", "Offerte", "Offerte e collette", "Entrate"},
    {" P0201", "Prestito bancario", "Prestiti e scoperti bancari", "Passiva"},
};

// Income and expense rows through a cash box, numbered by the journal in the order given.
inline Movement in(const std::string& cod, const std::string& codd, double amount, int eroeffnung = 0) {
    return {0, ymd(2015, 3, 1), cod, codd, "Entrata", amount, 0, 2, eroeffnung};
}
inline Movement out(const std::string& cod, const std::string& codd, double amount, int eroeffnung = 0) {
    return {0, ymd(2015, 3, 1), cod, codd, "Uscita", 0, amount, 1, eroeffnung};
}

struct ExportYear {
    ExportYear() { makeChart(chart, kExportChart); }

    void write(std::vector<Movement> rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].nummer == 0) rows[i].nummer = int(i + 1);
        }
        makeJournal(journal, rows);
    }

    TempDir dir;
    std::filesystem::path journal = dir / "kr201501.dbf";
    std::filesystem::path chart = dir / "kw201501.dbf";
    std::string number = "201501";
};

}  // namespace quendra::test
