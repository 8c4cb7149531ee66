#pragma once

#include <filesystem>
#include <string>

namespace quendra::years {

// Deletes the journal and the chart of the year with their index files. Nothing is
// deleted while a cursor of this program holds either (DbError Locked).
void deleteYear(const std::filesystem::path& dataDir, const std::string& yearNumber);

}  // namespace quendra::years
