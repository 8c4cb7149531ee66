#pragma once

#include "storage/query/ast.h"

#include <string_view>

namespace quendra::storage {

// Parses one statement of the dialect:
//   select * from "<path>" [where C] [order by f1, f2, …]
//   select sum(f1)[, sum(f2)…] from "<path>" [where C]
//   delete from "<path>" where C
// C: comparisons (= <> < <= > >=) between fields, upper(…), "texts", numbers and
// :parameters; "x [not] like P" with P texts and parameters joined by ||; not, and, or,
// parentheses. Keywords are case-blind. Throws DbError(BadQuery) with the position.
Statement parseQuery(std::string_view sql);

}  // namespace quendra::storage
