#include "years/open_year.h"

#include "storage/dbase/error.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/cursor.h"
#include "years/year_backup.h"
#include "years/year_tables.h"

namespace quendra::years {

using namespace storage;

namespace {

bool hasDeletedRows(const std::filesystem::path& journal) {
    const Cursor table(journal, OpenMode::Shared);
    return table.table()->physicalCount() != table.table()->visibleCount();
}

}  // namespace

CurrentYearNames openChosenYear(const std::filesystem::path& dataDir, const std::string& yearNumber) {
    const std::filesystem::path journal = yearTablePath(dataDir, YearTable::Journal, yearNumber);
    try {
        if (hasDeletedRows(journal)) {
            backupYear(dataDir, yearNumber, "riorganizza");
            packTable(journal);
        }
    } catch (const BackupFailed&) {
        throw;
    } catch (const DbError&) {
        // The year opens unpacked; the main window repairs an index it cannot use.
    }
    return {journal.filename().string(), yearTablePath(dataDir, YearTable::Chart, yearNumber).filename().string()};
}

}  // namespace quendra::years
