#include "state/single_instance.h"

namespace quendra::state {

std::optional<storage::InstanceLock> claimDataDirectory(const std::filesystem::path& dataDir, platform::Prompt& prompt,
                                                        std::chrono::milliseconds patience) {
    std::optional<storage::InstanceLock> lock = storage::InstanceLock::acquireWithin(dataDir, patience);
    if (!lock) prompt.message(platform::PromptKind::Error, storage::alreadyRunningMessage(dataDir));
    return lock;
}

}  // namespace quendra::state
