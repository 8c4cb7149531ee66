#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace quendra::storage {

// Every change the engine makes to a file, reported before it happens. Tests watch this
// to stop a process at a chosen change or to replay the changes a power cut would keep;
// the program itself installs no watcher.
struct FileEvent {
    enum class Kind { Write, Sync, Truncate, Rename, Remove };
    Kind kind;
    const std::filesystem::path& path;  // the file (for Rename: the source)
    std::uint64_t offset = 0;           // Write: position; Truncate: new size
    std::string_view bytes;             // Write
    const std::filesystem::path* target = nullptr;  // Rename: the destination
};

using FileEventWatcher = std::function<void(const FileEvent&)>;

// Replaces the watcher (an empty function removes it).
void watchFileEvents(FileEventWatcher watcher);

}  // namespace quendra::storage
