#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::test {

// The files of fuzz/<kind>/<target> in the source tree (kind "corpus" or "findings"),
// none when the folder does not exist.
std::vector<std::filesystem::path> fuzzInputs(std::string_view kind, std::string_view target);

// A file's bytes.
std::string fileBytes(const std::filesystem::path& file);

}  // namespace quendra::test
