#pragma once

#include "platform/prompt.h"
#include "storage/instance_lock.h"

#include <chrono>
#include <filesystem>
#include <optional>

namespace quendra::state {

// How long a restarted program waits for the one it replaces to end.
inline constexpr std::chrono::milliseconds kRestartPatience{15000};

// The data directory for this program alone, held until the program ends, waiting for
// it as long as patience; nullopt after telling the user that another program has it open
// (the start then ends at once, before any file of the data is touched).
std::optional<storage::InstanceLock> claimDataDirectory(const std::filesystem::path& dataDir, platform::Prompt& prompt,
                                                        std::chrono::milliseconds patience = {});

}  // namespace quendra::state
