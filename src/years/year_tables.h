#pragma once

#include "storage/query/query.h"
#include "storage/year_files.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quendra::years {

// The table's full path as a query names it (the query language's own quoting).
using storage::quotedTable;

// The journal or chart of a year number in dataDir, as spelt on disk ("kr201501.dbf"
// when no spelling of it exists yet).
std::filesystem::path yearTablePath(const std::filesystem::path& dataDir, storage::YearTable kind,
                                    std::string_view yearNumber);

// Makes sure the table's production index can be used, rebuilding it with
// indexreparatur when an exclusive open says it cannot. A table that is in use is left
// as it is (its holder opened it, so it opens).
void ensureIndexUsable(storage::YearTable kind, const std::filesystem::path& table);

// The first count characters of a UTF-8 text (characters, not bytes: field widths count
// characters of the file's code page).
std::string firstCharacters(std::string_view utf8, std::size_t count);

}  // namespace quendra::years
