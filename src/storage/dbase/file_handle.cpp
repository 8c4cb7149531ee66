#include "storage/dbase/file_handle.h"

#include "storage/dbase/error.h"
#include "storage/dbase/system_error.h"
#include "storage/dbase/text_case.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendra::storage {

namespace {

DbError ioError(const std::string& label, const char* what) {
    return DbError(DbError::Kind::Io,
                   "Errore di accesso al file \"" + label + "\" (" + what + "): " + systemErrorText(errno));
}

}  // namespace

std::string fileLabel(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return name;
}

FileHandle::FileHandle(const std::filesystem::path& path, Lock lock) : label_(fileLabel(path)) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        readOnly_ = true;
    }
    if (fd_ < 0) {
        if (errno == ENOENT) {
            throw DbError(DbError::Kind::Io, "Il file \"" + label_ + "\" non esiste");
        }
        throw ioError(label_, "apertura");
    }
    if (::flock(fd_, (lock == Lock::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd_);
        fd_ = -1;
        if (err == EWOULDBLOCK) {
            throw DbError(DbError::Kind::Locked, "La tabella \"" + label_ + "\" è in uso da un altro programma");
        }
        errno = err;
        throw ioError(label_, "blocco");
    }
}

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(other.fd_), readOnly_(other.readOnly_), label_(std::move(other.label_)) {
    other.fd_ = -1;
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        readOnly_ = other.readOnly_;
        label_ = std::move(other.label_);
        other.fd_ = -1;
    }
    return *this;
}

std::uint64_t FileHandle::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw ioError(label_, "dimensione");
    return std::uint64_t(st.st_size);
}

std::string FileHandle::readAll() const {
    std::string bytes(size(), '\0');
    bytes.resize(readInto(0, bytes.data(), bytes.size()));
    return bytes;
}

std::size_t FileHandle::readInto(std::uint64_t offset, char* dest, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, dest + done, size - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ioError(label_, "lettura");
        }
        if (n == 0) break;
        done += std::size_t(n);
    }
    return done;
}

void FileHandle::writeAt(std::uint64_t offset, std::string_view bytes) const {
    if (readOnly_) {
        throw DbError(DbError::Kind::Io, "Il file \"" + label_ + "\" è di sola lettura");
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ioError(label_, "scrittura");
        }
        done += std::size_t(n);
    }
}

void FileHandle::truncate(std::uint64_t newSize) const {
    if (::ftruncate(fd_, off_t(newSize)) != 0) throw ioError(label_, "troncamento");
}

void FileHandle::sync() const {
    if (::fsync(fd_) != 0) throw ioError(label_, "sincronizzazione");
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, unsigned mode) {
    const std::string label = fileLabel(path);
    std::filesystem::path temp = path;
    temp += ".tmp~";
    // A temporary file left by a crash keeps its own mode when reopened: made anew instead.
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
    if (fd < 0) throw ioError(label, "creazione");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const DbError error = ioError(label, "scrittura");
            ::close(fd);
            ::unlink(temp.c_str());
            throw error;
        }
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const DbError error = ioError(label, "sincronizzazione");
        ::unlink(temp.c_str());
        throw error;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const DbError error = ioError(label, "rinomina");
        ::unlink(temp.c_str());
        throw error;
    }
}

std::filesystem::path findCaseBlind(const std::filesystem::path& dir, std::string_view name) {
    const std::filesystem::path exact = dir / std::string(name);
    std::error_code ec;
    if (std::filesystem::exists(exact, ec)) return exact;
    for (const auto& entry : std::filesystem::directory_iterator(dir.empty() ? "." : dir, ec)) {
        if (equalsIgnoreCaseAscii(entry.path().filename().string(), name)) return entry.path();
    }
    return {};
}

}  // namespace quendra::storage
