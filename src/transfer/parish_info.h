#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::transfer {

inline constexpr std::string_view kParishInfoFileName = "info.txt";

// The parish header row of a chart: TEXT, TEXTH, TEXTA.
struct ParishHeader {
    std::string name;
    std::string place;
    std::string deanery;
};

// The first row of the chart in its stored order; empty texts when the chart has no row.
ParishHeader readParishHeader(const std::filesystem::path& chart);

// What info.txt tells the central office.
struct ParishInfo {
    std::string year;  // characters 3-6 of the journal's file name
    ParishHeader parish;
    std::string email;  // as typed, blanks included
    std::vector<std::string> notes;
};

// Characters 3-6 of a year file name ("KR201501.dbf" gives "2015").
std::string yearOfJournalName(std::string_view journalName);

// The lines of a multi-line field as the user sees them: none for an empty text; a
// final line break starts no further line. "\r\n" and "\n" both end a line.
std::vector<std::string> textLines(std::string_view text);

// The six lines of info.txt in Windows-1252, each ended by CR LF. Throws TransferError
// when a text holds a character Windows-1252 cannot hold.
std::string parishInfoBytes(const ParishInfo& info);

// Writes info.txt, replacing an older one. Throws TransferError.
void writeParishInfo(const std::filesystem::path& file, const ParishInfo& info);

}  // namespace quendra::transfer
