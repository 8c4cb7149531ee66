#pragma once

#include "storage/dbase/date.h"
#include "storage/settings_file.h"

#include <filesystem>
#include <string>

namespace quendra::state {

// The main window's state, read and changed by the other windows and routines. Owned
// by TMainform and passed by reference; there are no globals.
struct MainState {
    std::filesystem::path programDir;
    std::filesystem::path programFile;   // the running program, which the update replaces (empty: programDir/quendra2015)
    std::filesystem::path dataDir;       // programDir / "krw"
    bool readOnlyInstallation = false;   // a system package: the update never replaces the program
    storage::Settings settings;          // tovald.INI as held; settings.hauptdatei / .konto name the year
    std::string titlePrefix;             // "QUENDRA: parish (place) - 2015/01"
    std::string titleLine;               // the heading bar's text
    std::string movementCount;           // as text
    std::string versionText;             // "Vers. 4.77"
    storage::Date proposedDate;          // the date the next new row gets
    bool addingMode = false;

    std::filesystem::path journalPath() const { return dataDir / settings.hauptdatei; }
    std::filesystem::path chartPath() const { return dataDir / settings.konto; }
};

}  // namespace quendra::state
