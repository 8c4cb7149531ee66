#pragma once

#include "years/parish_data.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace quendra::years {

// One line of the year dialog's list: a year that has both its journal and its chart.
struct YearEntry {
    std::string yearNumber;  // "201501"
    std::string text;        // "2015-01 | SANTA MARIA (Valle) Centro (254 voci)"
};

// "2015-01 | " + the parish name in upper case + " (" + place + ") " + deanery + " (" +
// rows + " voci)".
std::string yearEntryText(const std::string& yearNumber, const ParishData& parish, std::size_t journalRows);

// A year file that could not be read while listing, with the engine's message.
struct UnreadableYear {
    std::string fileName;
    std::string message;
};

struct YearList {
    std::vector<YearEntry> entries;  // newest year number first
    std::vector<UnreadableYear> unreadable;
};

// The years of dataDir: every journal kryyyynn.dbf (not the template) whose chart
// kwyyyynn.dbf exists. The index of every listed chart is rebuilt (indexreparatur) and
// that of a journal whose index cannot be used. A year whose files cannot be read is
// left out and reported, so that one damaged year does not hide the others. Throws
// MissingYearFile when a file vanishes while it is being repaired.
YearList listYears(const std::filesystem::path& dataDir);

}  // namespace quendra::years
