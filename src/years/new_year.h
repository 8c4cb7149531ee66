#pragma once

#include "storage/dbase/date.h"

#include <filesystem>
#include <string>

namespace quendra::years {

// A new file of the year: the next running number (YearFileError for a 100th file), the
// templates' indexes rebuilt (MissingYearFile when one is missing), a journal with one
// row (Nummer 1, dated today), the standard chart and an empty budget. Returns the year number; the
// parish header row is left for the caller to fill.
std::string createYear(const std::filesystem::path& dataDir, int year, storage::Date today);

// The year after sourceNumber's year, made for a carry-forward: an empty journal and a
// copy of the source's chart (its accounts and parish header row included) with the
// chart's tags, and an empty budget. Returns the new year number.
std::string createFollowingYear(const std::filesystem::path& dataDir, const std::string& sourceNumber);

}  // namespace quendra::years
