#pragma once

#include "storage/dbase/cursor.h"
#include "storage/dbase/open_table.h"

#include <filesystem>
#include <memory>

namespace quendra::storage {

// The one place a process keeps its open tables, by canonical path, so that all cursors
// on a file share its rows. Single-threaded, like the program.
//
// Exclusive: fails (Locked) while any cursor of ours or another process holds the file,
// and with the index problem's kind when byte 28 announces an index we cannot use.
// Shared: fails while the file is held exclusively.
std::shared_ptr<OpenTable> acquireTable(const std::filesystem::path& path, OpenMode mode);

// True while some cursor of this process holds the file.
bool isTableOpen(const std::filesystem::path& path);

}  // namespace quendra::storage
