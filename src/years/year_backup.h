#pragma once

#include "storage/dbase/error.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quendra::years {

// A backup that could not be written; the operation it was to protect must not run.
// what() is the Italian message for the user; windows show it as any table error.
class BackupFailed : public storage::DbError {
public:
    explicit BackupFailed(const std::string& message) : DbError(Kind::Io, message) {}
};

inline constexpr std::size_t kBackupsKept = 30;

// Before an operation deletes or replaces rows or files of a year: copies the year's
// journal, chart and budget (when it has one; the .dbf files as they are, damaged ones
// included, no index) into dataDir/backup/<yyyy-mm-dd_hhmmss>-<operation>/ under their
// own names, the form the save copy writes, so that importing the journal from there
// restores the year. Then removes all but the newest kBackupsKept backups. Returns the new folder; throws
// BackupFailed when it cannot be written.
std::filesystem::path backupYear(const std::filesystem::path& dataDir, std::string_view yearNumber,
                                 std::string_view operation);

}  // namespace quendra::years
