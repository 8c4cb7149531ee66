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
    const std::filesystem::path tables[] = {yearTablePath(dataDir, YearTable::Journal, yearNumber),
                                            yearTablePath(dataDir, YearTable::Chart, yearNumber)};
    // Both or neither: a year must not lose its chart and keep its journal.
    for (const std::filesystem::path& table : tables) {
        if (isTableOpen(table)) {
            throw DbError(DbError::Kind::Locked,
                          "La tabella \"" + fileLabel(table) + "\" è in uso: l'esercizio non è stato cancellato");
        }
    }
    backupYear(dataDir, yearNumber, "cancella-esercizio");
    for (const std::filesystem::path& table : tables) deleteTable(table);
}

}  // namespace quendra::years
