#pragma once

#include <string>
#include <string_view>

// info.txt as a parish sends it: six lines of Windows-1252 text, "Label: value|".
namespace quendra::curia {

struct ReceivedInfo {
    std::string year;
    std::string name;
    std::string place;
    std::string deanery;
    std::string email;
    std::string notes;
};

// The values in UTF-8, blanks around them removed. A line that is missing or lacks its
// label leaves its value empty; control characters become blanks.
ReceivedInfo parseReceivedInfo(std::string_view bytes);

}  // namespace quendra::curia
