#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::test {

// The whole file as bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& file);

// Writes the bytes as the whole file, making its folder first; returns the file.
std::filesystem::path writeFile(const std::filesystem::path& file, std::string_view bytes);

// The names of a folder's entries, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& dir);

}  // namespace quendra::test
