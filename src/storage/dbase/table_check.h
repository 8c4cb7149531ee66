#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quendra::storage {

// Every problem of a table and its production index, in Italian, one per line: the
// header, byte 28 against the .mdx, each tag's structure, key order, one key per record,
// record numbers and keys equal to the fields. Empty when all is well. Reads only.
std::vector<std::string> checkTable(const std::filesystem::path& path);

}  // namespace quendra::storage
