#pragma once

#include "platform/prompt.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quendra::years {

// The newest folder under dataDir/backup that holds the year's journal; empty when none.
std::filesystem::path newestBackupOf(const std::filesystem::path& dataDir, std::string_view yearNumber);

// Puts the year's journal and chart saved in folder in place of the current ones, each
// with its year tags. The current files are first backed up as they are, damaged rows
// and all ("prima-del-ripristino"). A saved table with rows that cannot be read is
// refused (DbError DamagedRows) before anything changes.
void restoreYearFrom(const std::filesystem::path& dataDir, std::string_view yearNumber,
                     const std::filesystem::path& folder);

// For a year whose rows cannot be read: shows the damage and offers its newest backup.
// True when the user accepted and the year was restored; false when there is no backup
// or the user declined.
bool offerBackupRestore(const std::filesystem::path& dataDir, std::string_view yearNumber, const std::string& damage,
                        platform::Prompt& prompt);

}  // namespace quendra::years
