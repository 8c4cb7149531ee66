#pragma once

#include <filesystem>
#include <string>

namespace quendra::years {

struct ImportOutcome {
    enum class Kind { Imported, OldVersion };
    Kind kind = Kind::Imported;
    std::string journalName;  // the name in the data directory, "kr201503.dbf"
    bool renamed = false;     // the saved name was taken: a new running number was given
};

// Brings a saved year (a journal and, in the same folder, its chart "kw" + the rest of
// the journal's name, and its budget "kv" + the rest when it was saved with one) into
// the data directory, each with its tags. Nothing is copied when the journal has no EA
// field (OldVersion), and YearFileError says why when the name is not a year journal's,
// the chart is missing, or the year already has 99 files.
// A taken name gets the year's next running number. A copy that fails half way is taken
// back. Throws DbError for files that cannot be read or written.
ImportOutcome importYear(const std::filesystem::path& dataDir, const std::filesystem::path& savedJournal);

}  // namespace quendra::years
