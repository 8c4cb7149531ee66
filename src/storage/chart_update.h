#pragma once

#include "storage/dbase/cursor.h"

namespace quendra::storage {

// A chart is written wholly in one of these.
enum class ChartLanguage { German, Italian };

// Italian when the TEXTH of the chart's second row in COD order (the first account after
// the parish header row) is exactly "Contributo sostentamento Clero", German otherwise.
// Leaves the cursor in COD order, without a range, on that row.
ChartLanguage chartLanguage(Cursor& chart);

// Brings a chart made by an older release up to the diocese's current standard, in the
// chart's own language: blanks in place of non-breaking spaces (the parish header row
// keeps its own), the deposit refund and the two clearing accounts when missing, the
// one-time move of the maintenance and restoration accounts to A09 and A12, and the
// fixed texts of a set of standard accounts. A row is stored only when it changes, so a
// second run writes nothing. An account is added only under a real anchor (the last
// sub-account of its group) and only when its number still has two digits and is free.
// The cursor must be open exclusively on a chart with its "cod" tag; it is left in COD
// order, without a range, on the first row. Table errors propagate.
void kontrollekonto(Cursor& chart);

}  // namespace quendra::storage
