#pragma once

#include <string>
#include <string_view>

namespace quendra::transfer {

// The text without blanks and control characters (CR, LF, tab …) at both ends.
inline std::string trimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

}  // namespace quendra::transfer
