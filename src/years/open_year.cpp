#include "years/open_year.h"

#include "storage/dbase/error.h"
#include "storage/dbase/table_ops.h"
#include "years/year_tables.h"

namespace quendra::years {

using namespace storage;

CurrentYearNames openChosenYear(const std::filesystem::path& dataDir, const std::string& yearNumber) {
    const std::filesystem::path journal = yearTablePath(dataDir, YearTable::Journal, yearNumber);
    try {
        packTable(journal);
    } catch (const DbError&) {
        // The year opens unpacked; the main window repairs an index it cannot use.
    }
    return {journal.filename().string(), yearTablePath(dataDir, YearTable::Chart, yearNumber).filename().string()};
}

}  // namespace quendra::years
