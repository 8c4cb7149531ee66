#pragma once

#include "state/main_state.h"
#include "storage/dbase/cursor.h"

#include <filesystem>

namespace quendra::journal {

// The main window's cursors on the open year: the journal; the chart row of the journal
// row's account and that of its cash box (both follow the journal row); and a second
// journal cursor that the list reads through, so that drawing the list never moves the
// current row. All are shared opens.
struct YearCursors {
    storage::Cursor journal;
    storage::Cursor account;
    storage::Cursor cashBox;
    storage::Cursor listing;

    // The journal and the list's cursor, ordered by Nummer, on the first row.
    void openJournal(const std::filesystem::path& journalPath);
    // The two chart cursors, following the journal row's cod and codd.
    void openCharts(const std::filesystem::path& chartPath);
    void closeCharts();
    void closeJournal();
    void closeAll();

    // The journal is open and stands on a row.
    bool hasRow() const;
};

// The current year's files as they are spelt in the data directory (names compare
// case-blind).
std::filesystem::path journalFile(const state::MainState& state);
std::filesystem::path chartFile(const state::MainState& state);

}  // namespace quendra::journal
