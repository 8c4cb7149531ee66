#pragma once

#include "storage/query/params.h"
#include "storage/query/result.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace quendra::storage {

// The local query language (see query_parser.h for the statements). Values a user types
// go in params, never into the text:
//   runSelect(R"(select * from "kr201501.dbf" where upper(text) like "%" || :t || "%")",
//             QueryParams().text("t", toUpperUtf8(typed)));
// Semantics: keywords and field names case-blind, values case-sensitive; character values
// compare in the table's code-page byte order ignoring trailing blanks; blank numbers
// count as 0; the empty date comes before every date; deleted rows never take part.
// Errors are DbError with an Italian message and the position in the text; a table that
// cannot be opened gives the engine's error with the position of its name.

// A table's full path as a query names it: in double quotes, a quote inside doubled.
std::string quotedTable(const std::filesystem::path& table);

// select * … or select sum(…) …
std::unique_ptr<QueryResult> runSelect(std::string_view sql, const QueryParams& params = {});

// delete from … where …: marks the rows deleted through a cursor (the tags stay right) and
// returns how many.
std::size_t runDelete(std::string_view sql, const QueryParams& params = {});

}  // namespace quendra::storage
