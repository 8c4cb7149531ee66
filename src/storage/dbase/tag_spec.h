#pragma once

#include <string_view>

namespace quendra::storage {

// One index tag of a year table: its name, the field it is on, and whether a newly
// created year makes it the primary tag.
struct TagSpec {
    std::string_view name;
    std::string_view field;
    bool primary = false;
};

}  // namespace quendra::storage
