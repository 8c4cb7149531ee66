#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quendra::storage {

// An open file descriptor with an advisory lock of the whole file (flock), so that
// another process cannot open a table exclusively that we hold, or the reverse.
class FileHandle {
public:
    enum class Lock { Shared, Exclusive };

    FileHandle() = default;
    // Opens read-write (read-only when the file allows no more) and takes the lock
    // without waiting. Throws DbError(Io) or DbError(Locked) naming the file.
    FileHandle(const std::filesystem::path& path, Lock lock);
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool readOnly() const { return readOnly_; }
    std::uint64_t size() const;
    std::string readAll() const;
    // Up to size bytes from offset (fewer at the end of the file) into dest; the count read.
    std::size_t readInto(std::uint64_t offset, char* dest, std::size_t size) const;
    // Writes all bytes at offset or throws DbError(Io).
    void writeAt(std::uint64_t offset, std::string_view bytes) const;
    void truncate(std::uint64_t size) const;
    void sync() const;

private:
    int fd_ = -1;
    bool readOnly_ = false;
    std::string label_;
};

// The file name in upper case, for messages ("KR201501.DBF").
std::string fileLabel(const std::filesystem::path& path);

// Writes a whole new file atomically: temporary file beside it, fsync, rename. The file
// gets mode (less what the umask takes) from its first byte on.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, unsigned mode = 0644);

// An existing file in dir whose name equals name without regard to case; empty path
// when there is none (tables written elsewhere may say KR201501.MDX or kr201501.mdx).
std::filesystem::path findCaseBlind(const std::filesystem::path& dir, std::string_view name);

}  // namespace quendra::storage
