#pragma once

#include <filesystem>
#include <string>

namespace quendra::years {

// The file names the main window keeps as the current year (Hauptdatei, Konto).
struct CurrentYearNames {
    std::string journal;  // "kr201501.dbf", spelt as on disk
    std::string chart;
};

// Makes the year the one to open: packs its journal (drops deleted rows, rebuilds the
// tags) after a backup of the year, and returns its names. A journal that cannot be
// packed (in use, damaged) is opened as it is: the failure is ignored. A backup that
// cannot be written is thrown (BackupFailed) and nothing is packed.
CurrentYearNames openChosenYear(const std::filesystem::path& dataDir, const std::string& yearNumber);

}  // namespace quendra::years
