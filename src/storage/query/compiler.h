#pragma once

#include "storage/dbase/open_table.h"
#include "storage/query/ast.h"
#include "storage/query/params.h"
#include "storage/query/predicate.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace quendra::storage {

struct CompiledQuery {
    PredicatePtr where;  // nullptr: every visible row
    std::vector<std::size_t> orderBy;
    std::vector<std::size_t> sums;
};

// Binds a parsed statement to a table and the parameters: names to fields, values to the
// table's code page, types checked. Throws DbError (NoSuchField for an unknown field,
// BadQuery otherwise) with the position in sql.
CompiledQuery compileQuery(std::string_view sql, const Statement& statement, const OpenTable& table,
                           const QueryParams& params);

}  // namespace quendra::storage
