#pragma once

#include "platform/clock.h"
#include "platform/prompt.h"
#include "platform/shell.h"

namespace quendra::transfer {
class Net;
}

namespace quendra::platform {

// The platform behind the seams, handed to every window and routine that needs it.
struct Services {
    Prompt& prompt;
    Clock& clock;
    Shell& shell;
    transfer::Net* net = nullptr;  // FTP and HTTP; null where there is none
};

}  // namespace quendra::platform
