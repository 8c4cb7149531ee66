#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace quendra::storage {

// One program per data directory: held for the whole run, released by the system when
// the program ends however it ends (a lock on a file, never a stale marker).
class InstanceLock {
public:
    // The lock, or nullopt when another program holds it.
    static std::optional<InstanceLock> tryAcquire(const std::filesystem::path& dataDir);
    // The lock, trying again until patience has passed; nullopt when another program
    // still holds it then.
    static std::optional<InstanceLock> acquireWithin(const std::filesystem::path& dataDir,
                                                     std::chrono::milliseconds patience);
    ~InstanceLock();
    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&&) = delete;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// The message of a second start on the same data directory.
std::string alreadyRunningMessage(const std::filesystem::path& dataDir);

}  // namespace quendra::storage
