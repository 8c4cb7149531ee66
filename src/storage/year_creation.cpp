#include "storage/year_creation.h"

#include "storage/budget_record.h"
#include "storage/dbase/cursor.h"
#include "storage/index_repair.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "storage/year_files.h"
#include "storage/year_table_tags.h"

#include <string>

namespace quendra::storage {

namespace {

// Copies the template and adds the tags; the new table is left open exclusively.
Cursor copyOfTemplate(YearTable kind, const std::filesystem::path& dataDir, std::string_view fileName) {
    const std::string_view templateName = kind == YearTable::Journal ? kJournalTemplate : kChartTemplate;
    const std::filesystem::path source = resolveCaseBlind(dataDir, templateName);
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error)) {
        throw MissingYearFile(std::string(templateName));
    }
    const std::filesystem::path target = resolveCaseBlind(dataDir, fileName);
    copyTable(source, target, yearTagFields(kind));
    return Cursor(target, OpenMode::Exclusive);
}

}  // namespace

void createJournal(const std::filesystem::path& dataDir, std::string_view fileName, std::optional<Date> firstRowDate) {
    Cursor table = copyOfTemplate(YearTable::Journal, dataDir, fileName);
    if (firstRowDate) {
        table.append();
        table.setInteger(journal::kNummer, 1);
        table.setDate(journal::kDatum, *firstRowDate);
        table.post();
    }
}

void createChart(const std::filesystem::path& dataDir, std::string_view fileName) {
    copyOfTemplate(YearTable::Chart, dataDir, fileName);
}

void createBudget(const std::filesystem::path& dataDir, std::string_view fileName) {
    installTable(resolveCaseBlind(dataDir, fileName), DbfHeader::forFields(budget::fields()), {},
                 yearTagFields(YearTable::Budget));
}

}  // namespace quendra::storage
