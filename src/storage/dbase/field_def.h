#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendra::storage {

// Field types of the dBase IV tables we read; we create C, N, D (and L, F for tests).
enum class FieldType : char { Character = 'C', Numeric = 'N', Date = 'D', Float = 'F', Logical = 'L' };

struct FieldDef {
    std::string name;      // ASCII, at most 10 characters, as stored (compared case-blind)
    FieldType type = FieldType::Character;
    std::uint8_t length = 0;    // bytes in the record; D is always 8, L is 1
    std::uint8_t decimals = 0;  // N and F only
    bool hasTag = false;        // descriptor byte 31: a production-index tag is on this field

    bool isNumeric() const { return type == FieldType::Numeric || type == FieldType::Float; }
};

using FieldList = std::vector<FieldDef>;

}  // namespace quendra::storage
