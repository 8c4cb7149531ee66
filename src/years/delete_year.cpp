#include "years/delete_year.h"

#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/table_registry.h"
#include "years/year_backup.h"
#include "years/year_tables.h"

namespace quendra::years {

using namespace storage;

void deleteYear(const std::filesystem::path& dataDir, const std::string& yearNumber) {
    // The budget first: a crash between the deletions must not leave it to a later year
    // of the same number.
    const std::filesystem::path tables[] = {yearTablePath(dataDir, YearTable::Budget, yearNumber),
                                            yearTablePath(dataDir, YearTable::Journal, yearNumber),
                                            yearTablePath(dataDir, YearTable::Chart, yearNumber)};
    // Both or neither: a year must not lose its chart and keep its journal.
    for (const std::filesystem::path& table : tables) {
        if (isTableOpen(table)) {
            throw DbError(DbError::Kind::Locked,
                          "La tabella \"" + fileLabel(table) + "\" è in uso: l'esercizio non è stato cancellato");
        }
    }
    backupYear(dataDir, yearNumber, "cancella-esercizio");
    std::error_code error;
    if (std::filesystem::is_regular_file(tables[0], error)) deleteTable(tables[0]);
    deleteTable(tables[1]);
    deleteTable(tables[2]);
}

}  // namespace quendra::years
