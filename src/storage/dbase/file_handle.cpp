#include "storage/dbase/file_handle.h"

#include "storage/dbase/error.h"
#include "storage/dbase/file_events.h"
#include "storage/dbase/system_error.h"
#include "storage/dbase/text_case.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendra::storage {

namespace {

// The write lock's byte: far beyond any table, so it never covers content.
constexpr off_t kWriteLockByte = off_t(1) << 60;

DbError ioError(const std::string& label, const char* what) {
    return DbError(DbError::Kind::Io,
                   "Errore di accesso al file \"" + label + "\" (" + what + "): " + systemErrorText(errno));
}

DbError notRegular(const std::string& label) {
    return DbError(DbError::Kind::BadFile, "Il file \"" + label + "\" non è un file regolare");
}

FileEventWatcher& watcher() {
    static FileEventWatcher current;
    return current;
}

void report(FileEvent::Kind kind, const std::filesystem::path& path, std::uint64_t offset = 0,
            std::string_view bytes = {}, const std::filesystem::path* target = nullptr) {
    if (watcher()) watcher()(FileEvent{kind, path, offset, bytes, target});
}

struct ::flock writeLockRange(short type) {
    struct ::flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = kWriteLockByte;
    range.l_len = 1;
    return range;
}

bool sameFile(int fd, const std::filesystem::path& path) {
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

void writeAll(int fd, std::string_view bytes, const std::string& label) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ioError(label, "scrittura");
        }
        done += std::size_t(n);
    }
}

}  // namespace

void watchFileEvents(FileEventWatcher newWatcher) { watcher() = std::move(newWatcher); }

std::string fileLabel(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return name;
}

FileHandle::FileHandle(const std::filesystem::path& path, Lock lock) : path_(path), label_(fileLabel(path)) {
    // A file renamed into place while we waited for its lock is not the table any more:
    // open the name again until the lock is on the file the name holds.
    for (int attempt = 0;; ++attempt) {
        // Non-blocking, so that a FIFO does not hang the open; cleared below.
        const int flags = O_CLOEXEC | O_NONBLOCK;
        fd_ = lock == Lock::None ? -1 : ::open(path.c_str(), O_RDWR | flags);
        readOnly_ = lock == Lock::None;
        if (fd_ < 0 && (lock == Lock::None || errno == EACCES || errno == EROFS)) {
            fd_ = ::open(path.c_str(), O_RDONLY | flags);
            readOnly_ = true;
        }
        if (fd_ < 0) {
            if (errno == ENOENT) throw DbError(DbError::Kind::Io, "Il file \"" + label_ + "\" non esiste");
            if (errno == EISDIR || errno == ENXIO) throw notRegular(label_);
            throw ioError(label_, "apertura");
        }
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            throw notRegular(label_);
        }
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        if (lock == Lock::None) return;
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
        if (sameFile(fd_, path) || attempt == 10) return;
        ::close(fd_);
        fd_ = -1;
    }
}

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(other.fd_), readOnly_(other.readOnly_), path_(std::move(other.path_)), label_(std::move(other.label_)) {
    other.fd_ = -1;
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        readOnly_ = other.readOnly_;
        path_ = std::move(other.path_);
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

FileHandle::Stamp FileHandle::stamp() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw ioError(label_, "stat");
    return {std::uint64_t(st.st_size), std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::string FileHandle::readAll(std::uint64_t maxBytes) const {
    const std::uint64_t bytes = size();
    if (bytes > maxBytes) {
        throw DbError(DbError::Kind::BadFile, "Il file \"" + label_ + "\" è troppo grande (" +
                                                  std::to_string(bytes) + " byte)");
    }
    std::string content(bytes, '\0');
    content.resize(readInto(0, content.data(), content.size()));
    return content;
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
    report(FileEvent::Kind::Write, path_, offset, bytes);
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
    report(FileEvent::Kind::Truncate, path_, newSize);
    if (::ftruncate(fd_, off_t(newSize)) != 0) throw ioError(label_, "troncamento");
}

void FileHandle::sync() const {
    report(FileEvent::Kind::Sync, path_);
    if (::fdatasync(fd_) != 0) throw ioError(label_, "sincronizzazione");
}

bool FileHandle::tryWriteLock() const {
    struct ::flock range = writeLockRange(F_WRLCK);
    if (::fcntl(fd_, F_OFD_SETLK, &range) == 0) return true;
    if (errno == EAGAIN || errno == EACCES) return false;
    throw ioError(label_, "blocco");
}

bool FileHandle::writeLockedElsewhere() const {
    struct ::flock range = writeLockRange(F_WRLCK);
    if (::fcntl(fd_, F_OFD_GETLK, &range) != 0) return false;
    return range.l_type != F_UNLCK;
}

AsideFile::AsideFile(const std::filesystem::path& finalPath, std::string_view bytes, unsigned mode)
    : final_(finalPath), temp_(finalPath) {
    temp_ += ".tmp~";
    const std::string label = fileLabel(finalPath);
    report(FileEvent::Kind::Write, temp_, 0, bytes);
    // A temporary file left by a crash would keep its own mode when reopened: made anew instead.
    ::unlink(temp_.c_str());
    const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
    if (fd < 0) throw ioError(label, "creazione");
    try {
        writeAll(fd, bytes, label);
        report(FileEvent::Kind::Sync, temp_);
        if (::fsync(fd) != 0) throw ioError(label, "sincronizzazione");
    } catch (...) {
        ::close(fd);
        ::unlink(temp_.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const DbError error = ioError(label, "chiusura");
        ::unlink(temp_.c_str());
        throw error;
    }
}

AsideFile::~AsideFile() {
    if (!installed_) ::unlink(temp_.c_str());
}

void AsideFile::install() {
    renameFile(temp_, final_);
    installed_ = true;
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, unsigned mode) {
    AsideFile(path, bytes, mode).install();
}

void syncDirectory(const std::filesystem::path& dir) {
    const std::filesystem::path where = dir.empty() ? std::filesystem::path(".") : dir;
    report(FileEvent::Kind::Sync, where);
    const int fd = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // a directory we cannot open for reading still took the rename
    ::fsync(fd);
    ::close(fd);
}

void renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    report(FileEvent::Kind::Rename, from, 0, {}, &to);
    if (::rename(from.c_str(), to.c_str()) != 0) throw ioError(fileLabel(to), "rinomina");
    syncDirectory(to.parent_path());
}

void removeFile(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) throw notRegular(fileLabel(path));
    report(FileEvent::Kind::Remove, path);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw ioError(fileLabel(path), "cancellazione");
    syncDirectory(path.parent_path());
}

void refuseIfNotRegular(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw notRegular(fileLabel(path));
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
