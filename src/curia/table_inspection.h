#pragma once

#include "storage/year_files.h"

#include <string>
#include <string_view>
#include <vector>

// A received year table read byte by byte before any figure is taken from it.
namespace quendra::curia {

// Why the table cannot be used, in Italian, one line each (at most some twenty lines of
// damaged rows, then their count): a header that does not parse or fit the file's size,
// fields missing or of another type than a year table's, rows whose flag or fields are
// not what they should be. Empty when the table is whole. label names it in the lines.
std::vector<std::string> tableDamage(std::string_view bytes, storage::YearTable kind, const std::string& label);

}  // namespace quendra::curia
