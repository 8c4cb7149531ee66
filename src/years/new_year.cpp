#include "years/new_year.h"

#include "storage/dbase/cursor.h"
#include "storage/index_repair.h"
#include "storage/dbase/table_ops.h"
#include "storage/year_creation.h"
#include "storage/year_files.h"
#include "storage/year_table_tags.h"
#include "years/year_tables.h"

namespace quendra::years {

using namespace storage;

namespace {

// The number is chosen before anything is written, so a refused 100th file leaves no trace.
std::string prepareNewYear(const std::filesystem::path& dataDir, int year) {
    const std::string number = nextYearNumber(dataDir, year);
    indexreparatur(YearTable::Journal, dataDir, kJournalTemplate);
    indexreparatur(YearTable::Chart, dataDir, kChartTemplate);
    return number;
}

}  // namespace

std::string createYear(const std::filesystem::path& dataDir, int year, Date today) {
    const std::string number = prepareNewYear(dataDir, year);
    createJournal(dataDir, yearFileName(YearTable::Journal, number), today);
    createChart(dataDir, yearFileName(YearTable::Chart, number));
    createBudget(dataDir, yearFileName(YearTable::Budget, number));
    return number;
}

std::string createFollowingYear(const std::filesystem::path& dataDir, const std::string& sourceNumber) {
    const std::filesystem::path sourceChart = yearTablePath(dataDir, YearTable::Chart, sourceNumber);
    const std::string number = prepareNewYear(dataDir, std::stoi(sourceNumber.substr(0, 4)) + 1);
    // The chart first: a chart without its journal is never listed and is replaced by
    // the next file of the year, whereas a lone journal would take up its number.
    const std::filesystem::path chart = yearTablePath(dataDir, YearTable::Chart, number);
    copyTable(sourceChart, chart, yearTagFields(YearTable::Chart));
    createBudget(dataDir, yearFileName(YearTable::Budget, number));
    createJournal(dataDir, yearFileName(YearTable::Journal, number));
    return number;
}

}  // namespace quendra::years
