#pragma once

#include "storage/dbase/codepage.h"
#include "storage/dbase/row_reader.h"

#include <ostream>
#include <string>

namespace quendra::tools {

// One cell of the dump CSV from a field's raw bytes: dates YYYY-MM-DD, numbers as stored ("." and their
// decimals), character fields without trailing blanks, logicals T/F; blank → "".
std::string dumpValue(const storage::FieldDef& field, std::string_view raw, storage::CodePage page);
std::string dumpCell(const storage::RowReader& row, std::size_t field);

// The header row of field names, then every row from first to end.
void dumpRows(std::ostream& out, storage::RowReader& rows);

}  // namespace quendra::tools
