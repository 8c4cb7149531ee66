#include "journal/month_title.h"

#include <array>
#include <string_view>

namespace quendra::journal {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"gennaio", "febbraio", "marzo",     "aprile",
                                                      "maggio",  "giugno",   "luglio",    "agosto",
                                                      "settembre", "ottobre", "novembre", "dicembre"};

}  // namespace

std::string monthTitle(int year, int month) {
    const std::string_view name = month >= 1 && month <= 12 ? kMonths[month - 1] : std::string_view();
    return std::string(name) + ", " + std::to_string(year);
}

}  // namespace quendra::journal
