#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quendra::storage {

// An open file descriptor with an advisory lock of the whole file (flock), so that
// another process cannot open a table exclusively that we hold, or the reverse. Only
// regular files are opened: a FIFO or a device would hang or lie about its size.
class FileHandle {
public:
    // None: read-only, no lock (checking a file whatever holds it).
    enum class Lock { None, Shared, Exclusive };

    FileHandle() = default;
    // Opens read-write (read-only when the file allows no more) and takes the lock
    // without waiting. Throws DbError(Io) or DbError(Locked) naming the file.
    FileHandle(const std::filesystem::path& path, Lock lock);
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::uint64_t size() const;
    // The whole file; DbError(BadFile) when it is larger than maxBytes, before any memory
    // is taken for it.
    std::string readAll(std::uint64_t maxBytes = kMaxFileBytes) const;
    // Up to size bytes from offset (fewer at the end of the file) into dest; the count read.
    std::size_t readInto(std::uint64_t offset, char* dest, std::size_t size) const;
    // Writes all bytes at offset or throws DbError(Io).
    void writeAt(std::uint64_t offset, std::string_view bytes) const;
    void truncate(std::uint64_t size) const;
    void sync() const;

    // The write lock: one process at a time may change a table it holds shared. It is a
    // lock of its own (on a byte far beyond any content), so readers are not disturbed.
    // False when another process holds it. Released when the handle closes.
    bool tryWriteLock() const;
    // True when another process holds the write lock.
    bool writeLockedElsewhere() const;
    // Size and modification time, to tell whether another process changed the file.
    struct Stamp {
        std::uint64_t size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stamp() const;

    static constexpr std::uint64_t kMaxFileBytes = std::uint64_t(1) << 31;

private:
    int fd_ = -1;
    bool readOnly_ = false;
    std::filesystem::path path_;
    std::string label_;
};

// The file name in upper case, for messages ("KR201501.DBF").
std::string fileLabel(const std::filesystem::path& path);

// Writes a whole new file atomically: temporary file beside it, fsync, rename, fsync of
// the directory. The file gets mode (less what the umask takes) from its first byte on.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, unsigned mode = 0644);

// A file written beside its final name and made durable; install() renames it into
// place. Destroyed without install(), it leaves nothing behind.
class AsideFile {
public:
    AsideFile(const std::filesystem::path& finalPath, std::string_view bytes, unsigned mode = 0644);
    ~AsideFile();
    AsideFile(const AsideFile&) = delete;
    AsideFile& operator=(const AsideFile&) = delete;
    void install();

private:
    std::filesystem::path final_;
    std::filesystem::path temp_;
    bool installed_ = false;
};

// Renames and removes with the change reported (see file_events.h) and the directory
// made durable. removeFile ignores a missing file; both throw DbError(Io) otherwise.
void renameFile(const std::filesystem::path& from, const std::filesystem::path& to);
void removeFile(const std::filesystem::path& path);
void syncDirectory(const std::filesystem::path& dir);

// DbError(BadFile) unless path is a regular file or missing.
void refuseIfNotRegular(const std::filesystem::path& path);

// An existing file in dir whose name equals name without regard to case; empty path
// when there is none (tables written elsewhere may say KR201501.MDX or kr201501.mdx).
std::filesystem::path findCaseBlind(const std::filesystem::path& dir, std::string_view name);

}  // namespace quendra::storage
