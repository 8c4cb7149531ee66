#include "years/year_backup.h"

#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"
#include "storage/year_files.h"
#include "years/year_tables.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace quendra::years {

using namespace storage;

namespace {

constexpr std::string_view kBackupFolder = "backup";

std::string timestampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d_%H%M%S", &local);
    return text;
}

// A folder of its own even for two backups within one second.
std::filesystem::path newFolder(const std::filesystem::path& root, std::string_view operation) {
    const std::string base = timestampNow() + "-" + std::string(operation);
    std::filesystem::path folder = root / base;
    for (int n = 2; std::filesystem::exists(folder); ++n) folder = root / (base + "-" + std::to_string(n));
    std::filesystem::create_directories(folder);
    return folder;
}

void copyFile(const std::filesystem::path& source, const std::filesystem::path& folder) {
    const std::string bytes = FileHandle(source, FileHandle::Lock::None).readAll();
    writeFileAtomically(folder / source.filename(), bytes);
}

BackupFailed failed(const std::filesystem::path& root, std::string_view yearNumber, const std::string& why) {
    return BackupFailed("Non è stato possibile salvare una copia di sicurezza dell'esercizio " +
                        std::string(yearNumber.substr(0, 4)) + "-" + std::string(yearNumber.substr(4, 2)) +
                        " nella cartella \"" + root.string() + "\":\n" + why + "\n\nL'operazione non è stata eseguita.");
}

void pruneBackups(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        if (entry.is_directory()) folders.push_back(entry.path());
    }
    if (folders.size() <= kBackupsKept) return;
    // Names start with the time, so their order is their age.
    std::sort(folders.begin(), folders.end());
    for (std::size_t i = 0; i + kBackupsKept < folders.size(); ++i) std::filesystem::remove_all(folders[i]);
}

}  // namespace

std::filesystem::path backupYear(const std::filesystem::path& dataDir, std::string_view yearNumber,
                                 std::string_view operation) {
    const std::filesystem::path root = dataDir / kBackupFolder;
    try {
        const std::filesystem::path folder = newFolder(root, operation);
        for (const YearTable kind : {YearTable::Journal, YearTable::Chart, YearTable::Budget}) {
            const std::filesystem::path table = yearTablePath(dataDir, kind, std::string(yearNumber));
            std::error_code missing;
            if (std::filesystem::is_regular_file(table, missing)) copyFile(table, folder);
        }
        syncDirectory(folder);
        pruneBackups(root);
        return folder;
    } catch (const DbError& error) {
        throw failed(root, yearNumber, error.what());
    } catch (const std::filesystem::filesystem_error&) {
        throw failed(root, yearNumber, "la cartella non può essere creata o scritta");
    }
}

}  // namespace quendra::years
