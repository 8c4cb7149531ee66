#pragma once

#include "state/main_state.h"
#include "platform/services.h"
#include "storage/demo_data.h"
#include "storage/year_files.h"
#include "support/fixed_clock.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <filesystem>

namespace quendra::test {

// A data directory made like the program's (templates, the demo year 2015-01 with its
// parish header row), the main window's state naming that year, and platform doubles.
struct DemoYearState {
    DemoYearState() {
        state.dataDir = home.path();
        state.settings.hauptdatei = storage::makeDemoDataDirectory(
            home.path(), std::filesystem::path(QUENDRA_RUNTIME_DIR) / "krw", {2015, 30, 1});
        state.settings.konto = storage::chartNameOfJournal(state.settings.hauptdatei);
    }

    TempDir home;
    state::MainState state;
    ScriptedPrompt prompt;
    FixedClock clock{storage::Date::fromYmd(2015, 6, 15)};
    RecordingShell shell;
    platform::Services services{prompt, clock, shell};
};

}  // namespace quendra::test
