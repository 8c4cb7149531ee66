#pragma once

#include "storage/dbase/cursor.h"

namespace quendra::storage::journal {

// A click on a "prima apertura" box (the main screen's or the picker's): marks the
// current row as an opening row (eroeffnung 2) or clears the mark (a row marked 1 by
// hand too), posting only when it changes. Returns whether the row is now marked with 2.
bool writeOpeningMark(Cursor& journal, bool checked);

}  // namespace quendra::storage::journal
