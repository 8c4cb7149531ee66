#include "curia/transmission_name.h"

#include <regex>

namespace quendra::curia {

namespace {

// The six digits of "KRyyyynn.dbf" (prefix letters as given, any case); empty otherwise.
std::string yearNumberOf(std::string_view name, char second) {
    static const std::regex shape("[Kk]([A-Za-z])([0-9]{6})\\.[Dd][Bb][Ff]");
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_match(name.begin(), name.end(), match, shape)) return {};
    const char letter = match[1].str()[0];
    if (letter != second && letter != second - 'A' + 'a') return {};
    const std::string digits = match[2].str();
    return digits.substr(4) == "00" ? std::string() : digits;
}

}  // namespace

std::optional<TransmissionName> parseTransmissionName(std::string_view code, std::string_view kr, std::string_view kw) {
    if (code.size() != 5 || code.find_first_not_of("123456789") != std::string_view::npos) return std::nullopt;
    const std::string journalYear = yearNumberOf(kr, 'R');
    if (journalYear.empty() || yearNumberOf(kw, 'W') != journalYear) return std::nullopt;
    return TransmissionName{std::string(code), std::string(kr), std::string(kw), journalYear};
}

}  // namespace quendra::curia
