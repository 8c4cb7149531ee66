#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quendra::transfer {

// A version text as a number, its first "." the decimal separator ("," is read the same
// way): "4.77" is 4.77, "4.8" is 4.8, "4.100" is 4.1. nullopt for anything but digits
// with at most one separator, blanks included (callers trim first).
std::optional<double> versionNumber(std::string_view text);

// The version in a caption: the five characters after the first "Vers.", trimmed
// ("Quendra …  (Vers. 4.77)" and "Vers. 4.77" give "4.77"); empty without "Vers.".
std::string versionAfterVers(std::string_view caption);

}  // namespace quendra::transfer
