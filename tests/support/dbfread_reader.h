#pragma once

#include "support/json_value.h"

#include <filesystem>
#include <vector>

namespace quendra::test {

// A table as Debian's dbfread (run by /usr/bin/python3) reads it: the header facts,
// fields and counts (see tests/support/dbfread_dump.py), and the records as objects
// whose members are the fields in file order.
struct DbfreadTable {
    JsonValue facts;
    std::vector<JsonValue> records;
};

// Whether /usr/bin/python3 can import dbfread.
bool dbfreadAvailable();

// Reads the live records, or the deleted ones. Throws std::runtime_error with dbfread's
// complaint when it refuses the file.
DbfreadTable readWithDbfread(const std::filesystem::path& table, bool deletedRecords = false);

}  // namespace quendra::test
