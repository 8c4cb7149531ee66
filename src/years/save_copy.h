#pragma once

#include <filesystem>
#include <string>

namespace quendra::years {

enum class SaveOutcome { Saved, IntoDataDirectory };

// Copies the current year (journal, then chart, then the budget when the year has one;
// rows and structure, no index) into the destination folder under the same names,
// replacing files of those names there. A
// destination that is the data directory itself copies nothing. Throws DbError.
SaveOutcome saveYearCopy(const std::filesystem::path& dataDir, const std::string& journalName,
                         const std::string& chartName, const std::filesystem::path& destination);

}  // namespace quendra::years
