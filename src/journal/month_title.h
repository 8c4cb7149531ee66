#pragma once

#include <string>

namespace quendra::journal {

// The date picker's title "MMMM, YYYY" with the Italian month name: "marzo, 2015".
std::string monthTitle(int year, int month);

}  // namespace quendra::journal
