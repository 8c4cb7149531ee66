#pragma once

#include "journal/journal_entry.h"

#include <functional>
#include <string>

namespace quendra::journal {

// What the activation asks of windows that other parts of the program provide. An empty
// function is a part that is not there yet.
struct ActivationHooks {
    // The current journal is missing: the year dialog, which may choose another year.
    // False when the user left it to end the program.
    std::function<bool()> chooseYear;
    // The year's tables hold rows that cannot be read (the damage is the argument): may
    // restore the year from a backup. True when it did.
    std::function<bool(const std::string& damage)> restoreDamagedYear;
};

enum class ActivationResult {
    Ready,   // the year is open; the journal has at least one row
    NoYear,  // there is no current journal: the program must end
};

// Whether the settings name a journal that exists.
bool currentJournalExists(const state::MainState& state);

// Opens the current year for the main window: quietly fetches missing manuals and
// templates from the central server (through Services::net), repairs the indexes of the
// year's tables where needed, aligns and updates the chart, sets the title line, and
// asks for a first movement until there is one. The cursors end open, the journal on
// its first row in Nummer order, adding mode off. MissingYearFile propagates (the
// program must end); other DbErrors too, DamagedRows when no backup was restored.
ActivationResult activate(EntryContext& context, const ActivationHooks& hooks);

// Told before the program ends when there is no year to open.
std::string noYearMessage(const state::MainState& state);

// Closing the main window: closes the cursors and writes tovald.INI. Throws DbError when
// the file cannot be written.
void closeYear(EntryContext& context);

}  // namespace quendra::journal
