#include "years/backup_restore.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "storage/year_files.h"
#include "storage/year_table_tags.h"
#include "years/year_backup.h"
#include "years/year_tables.h"

#include <algorithm>
#include <vector>

namespace quendra::years {

using namespace storage;

namespace {

struct SavedTable {
    DbfHeader header;
    std::string rows;  // the visible ones
};

SavedTable readSaved(const std::filesystem::path& table) {
    Cursor saved(table, OpenMode::Shared);
    refuseUnreadableRows(*saved.table());
    SavedTable out{saved.table()->header(), {}};
    for (saved.first(); !saved.eof(); saved.next()) out.rows += saved.table()->record(saved.recordNumber());
    return out;
}

}  // namespace

std::filesystem::path newestBackupOf(const std::filesystem::path& dataDir, std::string_view yearNumber) {
    const std::string journal = yearFileName(YearTable::Journal, yearNumber);
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dataDir / "backup", error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error) && !findCaseBlind(it->path(), journal).empty()) folders.push_back(it->path());
    }
    // Names start with the time, so the greatest is the newest.
    const auto newest = std::max_element(folders.begin(), folders.end());
    return newest == folders.end() ? std::filesystem::path() : *newest;
}

void restoreYearFrom(const std::filesystem::path& dataDir, std::string_view yearNumber,
                     const std::filesystem::path& folder) {
    // Read whole first: the backup below may prune the folder they come from.
    std::vector<std::pair<YearTable, SavedTable>> saved;
    for (const YearTable kind : {YearTable::Journal, YearTable::Chart}) {
        const std::filesystem::path table = findCaseBlind(folder, yearFileName(kind, yearNumber));
        if (!table.empty()) saved.emplace_back(kind, readSaved(table));
    }
    backupYear(dataDir, yearNumber, "prima-del-ripristino");
    for (const auto& [kind, table] : saved) {
        installTable(yearTablePath(dataDir, kind, yearNumber), table.header, table.rows, yearTagFields(kind));
    }
}

bool offerBackupRestore(const std::filesystem::path& dataDir, std::string_view yearNumber, const std::string& damage,
                        platform::Prompt& prompt) {
    const std::filesystem::path folder = newestBackupOf(dataDir, yearNumber);
    if (folder.empty()) return false;
    const std::string question =
        damage + "\n\nL'ultima copia di sicurezza di questo esercizio si trova nella cartella \"backup/" +
        folder.filename().string() +
        "\". Ripristinare l'esercizio da quella copia?\n\nI movimenti registrati dopo la copia andranno "
        "inseriti di nuovo; i file attuali vengono prima salvati nella cartella \"backup\".";
    if (!prompt.askBeforeLoss(platform::PromptKind::Warning, question)) return false;
    restoreYearFrom(dataDir, yearNumber, folder);
    return true;
}

}  // namespace quendra::years
