#include "transfer/version_number.h"

#include "transfer/blank_trim.h"

#include <charconv>

namespace quendra::transfer {

std::optional<double> versionNumber(std::string_view text) {
    std::string number(text);
    bool separator = false;
    bool digit = false;
    for (char& c : number) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
            c = '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string versionAfterVers(std::string_view caption) {
    constexpr std::string_view kMarker = "Vers.";
    const std::size_t at = caption.find(kMarker);
    if (at == std::string_view::npos) return {};
    return trimBlanks(caption.substr(at + kMarker.size(), 5));
}

}  // namespace quendra::transfer
