#pragma once

#include "storage/dbase/field_def.h"
#include "storage/dbase/tag_spec.h"

#include <array>
#include <string_view>

// The chart-of-accounts record (KW table of a year).
namespace quendra::storage::chart {

inline constexpr std::string_view kCod = "COD";
inline constexpr std::string_view kText = "TEXT";    // the row's own text (parish name on the header row)
inline constexpr std::string_view kTextH = "TEXTH";  // main account's text (place on the header row)
inline constexpr std::string_view kTextA = "TEXTA";  // type's name (deanery on the header row)
inline constexpr std::string_view kCodAlfa = "CODALFA";
inline constexpr std::string_view kK = "K";          // "10".."90" on the type rows
inline constexpr std::string_view kZ = "Z";
inline constexpr std::string_view kClose = "CLOSE";  // "1" = standard account of the diocese
inline constexpr std::string_view kArt = "ART";

inline constexpr std::string_view kStandardAccount = "1";

inline FieldList fields() {
    return {
        {std::string(kCod), FieldType::Character, 6, 0, false},
        {std::string(kText), FieldType::Character, 60, 0, false},
        {std::string(kTextH), FieldType::Character, 60, 0, false},
        {std::string(kTextA), FieldType::Character, 60, 0, false},
        {std::string(kCodAlfa), FieldType::Character, 7, 0, false},
        {std::string(kK), FieldType::Character, 2, 0, false},
        {std::string(kZ), FieldType::Character, 10, 0, false},
        {std::string(kClose), FieldType::Character, 1, 0, false},
        {std::string(kArt), FieldType::Character, 2, 0, false},
    };
}

// In the order a new chart gets them; "cod" is its primary tag.
inline constexpr std::array<TagSpec, 2> kTags = {{
    {"cod", kCod, true},
    {"k", kK, false},
}};

}  // namespace quendra::storage::chart
