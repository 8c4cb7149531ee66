#pragma once

#include "storage/dbase/field_def.h"
#include "storage/dbase/tag_spec.h"

#include <array>
#include <string_view>

// The budget record (KV table of a year): one row per income or expense sub-account that
// has a planned amount.
namespace quendra::storage::budget {

inline constexpr std::string_view kCod = "COD";            // a sub-account of class E or A
inline constexpr std::string_view kPrevisto = "PREVISTO";  // planned amount, positive on both sides
inline constexpr std::string_view kNota = "NOTA";

inline FieldList fields() {
    return {
        {std::string(kCod), FieldType::Character, 6, 0, false},
        {std::string(kPrevisto), FieldType::Numeric, 12, 2, false},
        {std::string(kNota), FieldType::Character, 63, 0, false},
    };
}

inline constexpr std::array<TagSpec, 1> kTags = {{
    {"cod", kCod, true},
}};

}  // namespace quendra::storage::budget
