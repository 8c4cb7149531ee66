#include "years/import_year.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/text_case.h"
#include "storage/year_files.h"
#include "storage/year_table_tags.h"
#include "years/year_messages.h"
#include "years/year_tables.h"

namespace quendra::years {

using namespace storage;

namespace {

bool hasSideField(const std::filesystem::path& journal) {
    return Cursor(journal, OpenMode::Shared).findField(journal::kEA) >= 0;
}

void removeQuietly(const std::filesystem::path& table) {
    try {
        deleteTable(table);
    } catch (const DbError&) {
        // Only tidying up after the failure that is being reported.
    }
}

}  // namespace

ImportOutcome importYear(const std::filesystem::path& dataDir, const std::filesystem::path& savedJournal) {
    const std::string savedName = savedJournal.filename().string();
    const std::optional<std::string> savedNumber = yearNumberOf(savedName);
    if (!savedNumber || !toUpperUtf8(savedName).starts_with("KR") || isJournalTemplate(savedName))
        throw YearFileError(messages::notAYearJournal(savedName));
    if (!hasSideField(savedJournal)) return {ImportOutcome::Kind::OldVersion, {}, false};

    const std::string savedChartName = chartNameOfJournal(savedName);
    const std::filesystem::path savedChart = resolveCaseBlind(savedJournal.parent_path(), savedChartName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(savedChart, error)) {
        throw YearFileError(messages::chartMissingBesideJournal(savedChartName, savedName));
    }

    ImportOutcome outcome;
    std::string number = *savedNumber;
    if (std::filesystem::exists(yearTablePath(dataDir, YearTable::Journal, number), error)) {
        number = nextYearNumber(dataDir, std::stoi(number.substr(0, 4)));
        outcome.renamed = true;
    }
    outcome.journalName = yearFileName(YearTable::Journal, number);
    const std::filesystem::path journal = yearTablePath(dataDir, YearTable::Journal, number);
    const std::filesystem::path chart = yearTablePath(dataDir, YearTable::Chart, number);
    const std::filesystem::path budget = yearTablePath(dataDir, YearTable::Budget, number);
    const std::filesystem::path savedBudget =
        resolveCaseBlind(savedJournal.parent_path(), budgetNameOfJournal(savedName));
    try {
        // A budget left without its year (the number was free) must not join this one.
        if (std::filesystem::is_regular_file(budget, error)) deleteTable(budget);
        if (std::filesystem::is_regular_file(savedBudget, error)) {
            copyTable(savedBudget, budget, yearTagFields(YearTable::Budget));
        }
        copyTable(savedJournal, journal, yearTagFields(YearTable::Journal));
        copyTable(savedChart, chart, yearTagFields(YearTable::Chart));
    } catch (...) {
        removeQuietly(budget);
        removeQuietly(journal);
        removeQuietly(chart);
        throw;
    }
    return outcome;
}

}  // namespace quendra::years
