#pragma once

#include <filesystem>
#include <string>

namespace quendra::years {

// Deletes the journal, the chart and the budget of the year with their index files.
// Nothing is deleted while a cursor of this program holds one of them (DbError Locked).
void deleteYear(const std::filesystem::path& dataDir, const std::string& yearNumber);

}  // namespace quendra::years
