#pragma once

#include "storage/dbase/date.h"

#include <optional>
#include <string>
#include <string_view>

namespace quendra::bankimport {

// An amount as banks write it: "1.234,56" (dots group thousands), "-12,50", "12,50-",
// "+3,00", "1234.56" (a dot before one or two final digits is a decimal point), with
// "EUR" or "€" and blanks around ignored. nullopt for anything else.
std::optional<double> parseBankAmount(std::string_view text);

// A date as banks write it: dd/mm/yyyy, dd.mm.yyyy, dd-mm-yyyy, dd/mm/yy (20yy) or
// yyyy-mm-dd, optionally followed by a time. nullopt for anything else.
std::optional<storage::Date> parseBankDate(std::string_view text);

// Blanks, tabs and line breaks collapsed to single blanks, none at either end.
std::string collapseBlanks(std::string_view text);

// Sixteen hexadecimal digits that stand for the text (FNV-1a, 64 bits).
std::string hashText(std::string_view text);

}  // namespace quendra::bankimport
