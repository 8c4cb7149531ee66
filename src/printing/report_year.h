#pragma once

#include "storage/settings_file.h"

#include <filesystem>
#include <string>

namespace quendra::printing {

// The year a report prints: its two files (full paths, any names), its year number
// ("202601") and the print settings in force.
struct ReportYear {
    std::filesystem::path dataDir;
    std::filesystem::path journalPath;
    std::filesystem::path chartPath;
    std::string yearNumber;
    storage::Settings settings;

    std::string year() const { return yearNumber.substr(0, 4); }
    std::string runningNumber() const { return yearNumber.size() >= 6 ? yearNumber.substr(4, 2) : std::string(); }
    // "2026/01"
    std::string yearSlash() const { return year() + "/" + runningNumber(); }
};

}  // namespace quendra::printing
