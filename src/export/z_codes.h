#pragma once

#include <span>
#include <string_view>

namespace quendra::spreadsheet {

// The diocese's short classification of an account, written into column "Z" of the
// "Spezifikationen" sheet: "0E", "4E", "0A", "4A" or "x".
struct ZCode {
    std::string_view account;  // class letter and four digits: "A1204"
    std::string_view code;
};

// Every account that has a code, each once.
std::span<const ZCode> zCodeTable();

// The code of an account given as its five significant characters (characters 2-6 of a
// stored code); empty for an account outside the table.
std::string_view zCode(std::string_view account);

}  // namespace quendra::spreadsheet
