#pragma once

// Year files for the tests of the year dialog and the carry-forward: a small chart with
// a parish header row, templates, and the journal rows read back in record order.

#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/year_files.h"
#include "support/chart_fixture.h"
#include "support/journal_fixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quendra::test {

inline std::vector<ChartRow> smallChart(const std::string& parish, const std::string& place = "Valle",
                                        const std::string& deanery = "Centro") {
    return {
        {"  PFAR", parish, place, deanery},
        {" A0101", "Quota parrocchiale", "Contributo sostentamento Clero", "Uscite"},
        {" C0101", "Cassa parrocchiale", "Cassa", "Attiva"},
        {" C0102", "Cassa oratorio", "Cassa", "Attiva"},
        {" C0103", "Cassa Caritas", "Cassa", "Attiva"},
        {" C0201", "Banca c/c", "Banca", "Attiva"},
        {" C0501", "Titoli", "Titoli", "Attiva"},
        {" E0101", "Offerte", "Offerte", "Entrate"},
        {" P0101", "Mutuo bancario", "Debiti", "Passiva"},
        {" P0201", "Debiti verso fornitori", "Debiti", "Passiva"},
        {" V0101", "Immobili", "Patrimonio", "Conti d'ordine"},
        {"HA0100", "Contributo sostentamento Clero", "Contributo sostentamento Clero", "Uscite"},
        {"HC0100", "Cassa", "Cassa", "Attiva"},
        {"TA", "Uscite", "Uscite", "Uscite", "", "10"},
    };
}

inline std::filesystem::path journalOf(const std::filesystem::path& dataDir, const std::string& number) {
    return dataDir / storage::yearFileName(storage::YearTable::Journal, number);
}

inline std::filesystem::path chartOf(const std::filesystem::path& dataDir, const std::string& number) {
    return dataDir / storage::yearFileName(storage::YearTable::Chart, number);
}

// A year's two files in dataDir.
inline void makeYear(const std::filesystem::path& dataDir, const std::string& number, const std::vector<Movement>& rows,
                     const std::vector<ChartRow>& chart) {
    makeJournal(journalOf(dataDir, number), rows);
    makeChart(chartOf(dataDir, number), chart);
}

// The two templates: an empty journal and a chart with an empty parish header row.
inline void makeTemplates(const std::filesystem::path& dataDir) {
    makeJournal(dataDir / storage::kJournalTemplate, {});
    makeChart(dataDir / storage::kChartTemplate, smallChart("", "", ""));
}

inline std::vector<Movement> readMovements(const std::filesystem::path& path) {
    namespace kr = storage::journal;
    storage::Cursor table(path, storage::OpenMode::Shared);
    std::vector<Movement> rows;
    for (table.first(); !table.eof(); table.next()) {
        rows.push_back({int(table.asInteger(kr::kNummer)), table.asDate(kr::kDatum), table.asText(kr::kCod),
                        table.asText(kr::kCodd), table.asText(kr::kText), table.asNumber(kr::kEinnahme),
                        table.asNumber(kr::kAusgabe), int(table.asInteger(kr::kEA)),
                        int(table.asInteger(kr::kEroeffnung))});
    }
    return rows;
}

}  // namespace quendra::test
