#pragma once

#include <string>
#include <string_view>

namespace quendra::state {

// The main window's caption; the version the program update compares comes from it.
inline constexpr std::string_view kMainCaption = "Quendra Velmora Varnelia  (Vers. 4.77)";
// Shown in the heading bar until a year is open.
inline constexpr std::string_view kInitialTitleLine = "Windows - Tovald";

// "Vers. " + the five characters after "Vers." in the caption, trimmed: "Vers. 4.77".
std::string versionTextOf(std::string_view caption);

// "QUENDRA: parish (place) - 2015/01": the year and running number are characters 3-6
// and 7-8 of the chart's file name.
std::string titlePrefix(std::string_view parish, std::string_view place, std::string_view chartFileName);

// The heading bar after opening a year or deleting a row, and while adding one.
std::string movementsTitle(std::string_view prefix, std::size_t count);
std::string addingTitle(std::string_view prefix, std::size_t count);

}  // namespace quendra::state
