#pragma once

#include "storage/dbase/date.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace quendra::storage {

// A new journal fileName in dataDir: a copy of the journal template (kr000000.dbf) with
// the four journal tags, "nummer" primary. With firstRowDate it gets one row, Nummer 1
// on that date, the other fields empty. A file of that name is replaced.
// Throws MissingYearFile when the template is missing, DbError otherwise.
void createJournal(const std::filesystem::path& dataDir, std::string_view fileName,
                   std::optional<Date> firstRowDate = std::nullopt);

// A new chart fileName in dataDir: a copy of the chart template (kw000000.dbf), the
// standard chart, with the tags "cod" (primary) and "k".
void createChart(const std::filesystem::path& dataDir, std::string_view fileName);

// A new empty budget fileName in dataDir with its tag "cod" (replacing one of that name).
void createBudget(const std::filesystem::path& dataDir, std::string_view fileName);

}  // namespace quendra::storage
