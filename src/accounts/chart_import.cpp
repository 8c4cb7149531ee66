#include "accounts/chart_import.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/text_case.h"
#include "storage/year_files.h"
#include "storage/year_table_tags.h"
#include "years/year_backup.h"
#include "years/year_tables.h"

#include <algorithm>

namespace quendra::accounts {

using namespace storage;

namespace {

// Where the new chart is completed before it replaces the current one.
constexpr std::string_view kScratchChart = "kwimport.dbf";

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::size_t journalRows(const std::filesystem::path& journal) {
    years::ensureIndexUsable(YearTable::Journal, journal);
    return Cursor(journal, OpenMode::Shared).recordCount();
}

years::ParishData parishOf(const std::filesystem::path& chart) {
    years::ensureIndexUsable(YearTable::Chart, chart);
    return years::readParishData(chart);
}

void removeQuietly(const std::filesystem::path& table) {
    try {
        deleteTable(table);
    } catch (const DbError&) {
        // A scratch file left behind is replaced by the next import.
    }
}

}  // namespace

std::string chartChoiceLine(std::string_view yearNumber, const years::ParishData& parish, std::size_t journalRows) {
    return std::string(yearNumber.substr(0, 4)) + "-" + std::string(yearNumber.substr(4, 2)) + " | " +
           toUpperUtf8(parish.name) + " (" + parish.place + ") " + parish.deanery + " (" +
           std::to_string(journalRows) + " Einträge)";
}

std::string unreadableChartsMessage(const std::vector<years::UnreadableYear>& unreadable) {
    std::string text = "Questi esercizi non si possono leggere e non sono elencati:";
    for (const years::UnreadableYear& year : unreadable) text += "\n" + year.fileName + ": " + year.message;
    return text;
}

ChartChoices listCharts(const std::filesystem::path& dataDir, std::string_view currentJournal) {
    ChartChoices list;
    const std::string current = toUpperUtf8(currentJournal);
    std::vector<std::string> journals = listJournals(dataDir);
    std::reverse(journals.begin(), journals.end());
    for (const std::string& journalName : journals) {
        if (toUpperUtf8(journalName) == current) continue;
        const std::string number = *yearNumberOf(journalName);
        const std::filesystem::path chart = years::yearTablePath(dataDir, YearTable::Chart, number);
        if (!isFile(chart)) continue;
        try {
            const std::size_t rows = journalRows(dataDir / journalName);
            list.choices.push_back({number, chartChoiceLine(number, parishOf(chart), rows)});
        } catch (const DbError& error) {
            list.unreadable.push_back({journalName, error.what()});
        }
    }
    if (isFile(resolveCaseBlind(dataDir, kChartTemplate))) {
        list.choices.push_back({std::string(kStandardChartNumber), std::string(kStandardChartLine)});
    }
    return list;
}

void importChart(const std::filesystem::path& dataDir, std::string_view currentJournal, std::string_view yearNumber) {
    const std::filesystem::path target = resolveCaseBlind(dataDir, chartNameOfJournal(currentJournal));
    const std::filesystem::path source = years::yearTablePath(dataDir, YearTable::Chart, yearNumber);
    const years::ParishData parish = parishOf(target);
    const std::filesystem::path scratch = dataDir / kScratchChart;
    if (const auto number = yearNumberOf(std::string(currentJournal))) years::backupYear(dataDir, *number, "importa-piano");
    try {
        copyTable(source, scratch, yearTagFields(YearTable::Chart));
        years::writeParishData(scratch, parish);
        copyTable(scratch, target, yearTagFields(YearTable::Chart));
    } catch (...) {
        removeQuietly(scratch);
        throw;
    }
    removeQuietly(scratch);
}

}  // namespace quendra::accounts
