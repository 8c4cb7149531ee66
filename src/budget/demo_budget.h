#pragma once

#include <filesystem>
#include <string>

namespace quendra::budget {

// A budget for a demo year: planned amounts near the journal's actual ones (some above,
// some below, whole euros), a note on a few, and one planned account the year never
// booked. The same seed gives the same rows.
void makeDemoBudget(const std::filesystem::path& dataDir, const std::string& journalName, unsigned seed);

}  // namespace quendra::budget
