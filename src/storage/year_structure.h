#pragma once

#include "storage/dbase/field_def.h"
#include "storage/year_files.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

// The kind of year table a file name stands for: KRyyyynn and kr000000 are journals,
// KWyyyynn and kw000000 charts, KVyyyynn budgets (any case); nullopt for every other name.
std::optional<YearTable> yearTableKindOf(std::string_view fileName);

// Where a table's fields differ from what its kind needs, in Italian, one line each: a
// field that is missing, or of another type or number of decimals. Such a table would
// give wrong figures that no index repair can mend. Extra fields are allowed.
std::vector<std::string> yearStructureProblems(YearTable kind, const FieldList& fields, std::string_view tableLabel);

}  // namespace quendra::storage
