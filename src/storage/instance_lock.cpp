#include "storage/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <thread>

namespace quendra::storage {

namespace {

constexpr const char* kLockFileName = ".quendra.lock";
constexpr std::chrono::milliseconds kRetryPause{50};

}  // namespace

std::optional<InstanceLock> InstanceLock::tryAcquire(const std::filesystem::path& dataDir) {
    const std::filesystem::path path = dataDir / kLockFileName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A data directory we cannot write to is reported by the operations that write; the
    // lock must not be what stops a reading program.
    if (fd < 0) return InstanceLock(-1);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return InstanceLock(fd);
}

std::optional<InstanceLock> InstanceLock::acquireWithin(const std::filesystem::path& dataDir,
                                                        std::chrono::milliseconds patience) {
    const auto until = std::chrono::steady_clock::now() + patience;
    for (;;) {
        std::optional<InstanceLock> lock = tryAcquire(dataDir);
        if (lock || std::chrono::steady_clock::now() >= until) return lock;
        std::this_thread::sleep_for(kRetryPause);
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

std::string alreadyRunningMessage(const std::filesystem::path& dataDir) {
    return "Quendra è già aperto su questi dati (cartella \"" + dataDir.string() +
           "\").\n\nUsare il programma già aperto; questo viene chiuso.";
}

}  // namespace quendra::storage
