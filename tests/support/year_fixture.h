#pragma once

#include "journal/journal_entry.h"
#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <vector>

namespace quendra::test {

inline constexpr const char* kParishName = "Parrocchia San Vigilio";
inline constexpr const char* kParishPlace = "Lavis";

// A program directory with one year 2015/01 in krw/: the standard Italian chart with
// its parish header row, a journal with the given rows, and a tovald.INI naming them.
// Its state, platform doubles (today is 15.06.2015) and cursors are ready for the main
// window's routines; nothing is opened yet.
struct YearFixture {
    explicit YearFixture(const std::vector<Movement>& rows = {});

    std::filesystem::path journalPath() const { return dataDir / "kr201501.dbf"; }
    std::filesystem::path chartPath() const { return dataDir / "kw201501.dbf"; }
    // Opens the cursors as the activation leaves them, without its questions.
    void openYear();
    // The journal's rows in Nummer order, as the table holds them.
    std::vector<Movement> rows() const;

    TempDir home;
    std::filesystem::path dataDir;
    state::MainState state;
    FixedClock clock{storage::Date::fromYmd(2015, 6, 15)};
    ScriptedPrompt prompt;
    RecordingShell shell;
    platform::Services services{prompt, clock, shell};
    journal::YearCursors year;
    journal::EntryContext context{state, services, year};
};

}  // namespace quendra::test
