#pragma once

#include "years/parish_data.h"
#include "years/year_list.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::accounts {

// The year number that names the standard chart (the chart template kw000000.dbf).
inline constexpr std::string_view kStandardChartNumber = "000000";
inline constexpr std::string_view kStandardChartLine = "0000-00 | Piano conti standard";

// One line of the chart import's list.
struct ChartChoice {
    std::string yearNumber;  // "201401", or kStandardChartNumber
    std::string line;        // "2014-01 | SANTA MARIA (Valle) Centro (254 Einträge)"
};

struct ChartChoices {
    std::vector<ChartChoice> choices;             // newest year first, the standard chart last
    std::vector<years::UnreadableYear> unreadable;  // years left out: their files cannot be read
};

// "2014-01 | " + the parish name in upper case + " (" + place + ") " + deanery + " (" +
// journal rows + " Einträge)".
std::string chartChoiceLine(std::string_view yearNumber, const years::ParishData& parish, std::size_t journalRows);

// Told when some years could not be listed: each file with the engine's reason.
std::string unreadableChartsMessage(const std::vector<years::UnreadableYear>& unreadable);

// The charts that can replace the current year's: every other year of dataDir that has
// both its journal and its chart, and the standard chart when its template is there.
// The index of a table whose index cannot be used is rebuilt first. A journal without
// its chart is no year and is left out, as the year dialog leaves it out. Throws
// MissingYearFile when a file vanishes while it is being repaired.
ChartChoices listCharts(const std::filesystem::path& dataDir, std::string_view currentJournal);

// Replaces the current year's chart (the chart of currentJournal) by a copy of the
// chosen one, with its tags, keeping the parish name, place and deanery of the current
// chart's parish header row. The copy is made and completed beside the target first, so
// a source that cannot be read or a parish text that does not fit the source's fields
// leaves the current chart as it was. Throws DbError (Locked while a cursor holds the
// current chart).
void importChart(const std::filesystem::path& dataDir, std::string_view currentJournal, std::string_view yearNumber);

}  // namespace quendra::accounts
