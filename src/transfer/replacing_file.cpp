#include "transfer/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::transfer {

namespace {

constexpr std::string_view kUniqueSuffix = "XXXXXX";

// The temporary files of earlier runs that a kill or a power cut ended before they were
// renamed or removed; left alone, each may hold a whole program.
void removeLeftovers(const std::filesystem::path& dir, const std::string& prefix) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code ignored;
        if (name.size() == prefix.size() + kUniqueSuffix.size() && name.starts_with(prefix) &&
            !it->is_directory(ignored)) {
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

}  // namespace

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    const std::string prefix = "." + target_.filename().string() + ".part-";
    removeLeftovers(target_.parent_path(), prefix);
    std::string pattern = (target_.parent_path() / (prefix + std::string(kUniqueSuffix))).string();
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

bool ReplacingFile::writeCopyOf(const std::filesystem::path& source) {
    std::ifstream in(source, std::ios::binary);
    if (!in) return false;
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        if (in.gcount() > 0 && !write(buffer.data(), std::size_t(in.gcount()))) return false;
    }
    return in.eof() && !in.bad();
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
