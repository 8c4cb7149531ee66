#include "state/title_line.h"

namespace quendra::state {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::string_view part(std::string_view text, std::size_t from, std::size_t count) {
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

}  // namespace

std::string versionTextOf(std::string_view caption) {
    constexpr std::string_view marker = "Vers.";
    const auto at = caption.find(marker);
    const std::string_view number = at == std::string_view::npos ? std::string_view() : part(caption, at + marker.size(), 5);
    return "Vers. " + std::string(trimmed(number));
}

std::string titlePrefix(std::string_view parish, std::string_view place, std::string_view chartFileName) {
    return "QUENDRA: " + std::string(parish) + " (" + std::string(place) + ") - " +
           std::string(part(chartFileName, 2, 4)) + "/" + std::string(part(chartFileName, 6, 2));
}

std::string movementsTitle(std::string_view prefix, std::size_t count) {
    return std::string(prefix) + " - movimenti: " + std::to_string(count);
}

std::string addingTitle(std::string_view prefix, std::size_t count) {
    return std::string(prefix) + " - record: " + std::to_string(count);
}

}  // namespace quendra::state
