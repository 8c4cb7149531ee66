#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace quendra::storage {

// The two files of a table as they were when their index was last found to agree with
// the rows, by a digest of each one's bytes. A table whose files still hash to its seal
// needs no comparison of every key with its row when it is opened again: no byte of
// either changed since. Seals live in the user's cache; a lost or unwritable one only
// costs the next open the full comparison.
struct IndexSeal {
    std::uint64_t table = 0;
    std::uint64_t index = 0;
    bool operator==(const IndexSeal&) const = default;
};

std::uint64_t digestOf(std::string_view bytes);

std::optional<IndexSeal> recordedSeal(const std::filesystem::path& table);
void recordSeal(const std::filesystem::path& table, const IndexSeal& seal) noexcept;

}  // namespace quendra::storage
