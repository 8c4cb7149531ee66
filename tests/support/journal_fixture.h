#pragma once

#include "storage/dbase/cursor.h"
#include "storage/dbase/date.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::test {

// A journal row as the tests write it.
struct Movement {
    int nummer = 0;
    storage::Date datum;
    std::string cod;
    std::string codd;
    std::string text;
    double einnahme = 0;
    double ausgabe = 0;
    int ea = 0;
    int eroeffnung = 0;
};

// Creates a journal table (the program's structure) with the given rows and, unless
// withTags is false, its four tags.
void makeJournal(const std::filesystem::path& path, const std::vector<Movement>& rows, bool withTags = true);

// Writes value right-aligned over a field of a record (recno from 1) straight into the
// table file, as another program would, behind the engine and its index.
void putField(const std::filesystem::path& table, std::uint32_t recno, std::string_view field, std::string_view value);

// Appends one row through an open cursor and posts it.
void appendMovement(storage::Cursor& journal, const Movement& row);

storage::Date ymd(int year, int month, int day);

}  // namespace quendra::test
