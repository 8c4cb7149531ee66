#pragma once

#include <filesystem>

namespace quendra::transfer {

// A new directory of this process's own under parent, removed with its content when
// the object goes. The copies of a year sent to the central office live there, so that
// no other user of the computer can read or swap them.
class ScratchDirectory {
public:
    // Throws TransferError when the directory cannot be made.
    explicit ScratchDirectory(const std::filesystem::path& parent);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace quendra::transfer
