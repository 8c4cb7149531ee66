#pragma once

#include "platform/services.h"
#include "support/fixed_clock.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"

namespace quendra::test {

// Every seam scripted for a routine under test: a prompt answered from a queue, a clock
// standing at one day, a shell that only remembers; the network is the test's own.
struct ScriptedServices {
    ScriptedServices(transfer::Net* net, storage::Date today) : clock(today), services{prompt, clock, shell, net} {}
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;

    ScriptedPrompt prompt;
    FixedClock clock;
    RecordingShell shell;
    platform::Services services;
};

}  // namespace quendra::test
