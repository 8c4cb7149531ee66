#pragma once

#include "transfer/net.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace quendra::transfer {

// A file written under a temporary name beside its target and renamed over it only when
// committed, so the target is either the old file or the whole new one. Dropped without
// commit, the temporary file is removed; the ones that earlier runs left behind for the
// same target are removed before a new one is made.
class ReplacingFile {
public:
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False when the temporary file could not be made (the directory is missing or
    // read-only).
    bool isOpen() const { return fd_ >= 0; }
    bool write(const char* data, std::size_t size);
    // Appends the whole content of source; false when it cannot be read or written.
    bool writeCopyOf(const std::filesystem::path& source);
    std::uintmax_t size() const { return size_; }
    // Where the bytes written so far are, readable by this process alone.
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    // Flushes to disk, gives the file its permissions and renames it over the target.
    bool commit(FileKind kind);

private:
    void abandon();
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::uintmax_t size_ = 0;
};

}  // namespace quendra::transfer
