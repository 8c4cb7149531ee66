#include "transfer/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace quendra::transfer {

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    std::string pattern = (target_.parent_path() / ("." + target_.filename().string() + ".part-XXXXXX")).string();
    fd_ = ::mkstemp(pattern.data());
    if (fd_ >= 0) temporary_ = pattern;
}

ReplacingFile::~ReplacingFile() { abandon(); }

bool ReplacingFile::write(const char* data, std::size_t size) {
    if (fd_ < 0) return false;
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= std::size_t(written);
        size_ += std::uintmax_t(written);
    }
    return true;
}

bool ReplacingFile::commit(FileKind kind) {
    if (fd_ < 0) return false;
    const mode_t mode = kind == FileKind::Program ? 0755 : 0644;
    const bool done = ::fchmod(fd_, mode) == 0 && ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (done && closed && std::rename(temporary_.c_str(), target_.c_str()) == 0) {
        temporary_.clear();
        return true;
    }
    abandon();
    return false;
}

void ReplacingFile::abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace quendra::transfer
