#include "storage/opening_mark.h"

#include "storage/journal_record.h"

namespace quendra::storage::journal {

bool writeOpeningMark(Cursor& journal, bool checked) {
    const long long wanted = checked ? kOpeningMarker : 0;
    if (journal.asInteger(kEroeffnung) != wanted) {
        journal.edit();
        journal.setInteger(kEroeffnung, wanted);
        journal.post();
    }
    return journal.asInteger(kEroeffnung) == kOpeningMarker;
}

}  // namespace quendra::storage::journal
