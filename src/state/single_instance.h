#pragma once

#include "platform/prompt.h"
#include "storage/instance_lock.h"

#include <filesystem>
#include <optional>

namespace quendra::state {

// The data directory for this program alone, held until the program ends; nullopt after
// telling the user that another program has it open (the start then ends at once,
// before any file of the data is touched).
std::optional<storage::InstanceLock> claimDataDirectory(const std::filesystem::path& dataDir, platform::Prompt& prompt);

}  // namespace quendra::state
