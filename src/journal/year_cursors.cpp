#include "journal/year_cursors.h"

#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/year_files.h"

namespace quendra::journal {

using storage::OpenMode;

void YearCursors::openJournal(const std::filesystem::path& journalPath) {
    for (storage::Cursor* cursor : {&journal, &listing}) {
        cursor->open(journalPath, OpenMode::Shared);
        cursor->setOrder(storage::journal::kNummer);
        cursor->first();
    }
}

void YearCursors::openCharts(const std::filesystem::path& chartPath) {
    account.open(chartPath, OpenMode::Shared);
    account.setOrder(storage::chart::kCod);
    account.setMasterLink(journal, storage::journal::kCod);
    cashBox.open(chartPath, OpenMode::Shared);
    cashBox.setOrder(storage::chart::kCod);
    cashBox.setMasterLink(journal, storage::journal::kCodd);
}

void YearCursors::closeCharts() {
    account.close();
    cashBox.close();
}

void YearCursors::closeJournal() {
    listing.close();
    journal.close();
}

void YearCursors::closeAll() {
    // The chart cursors follow the journal, so they go first.
    closeCharts();
    closeJournal();
}

// Not eof: a cursor stays on its last row after last() and after stepping past the end.
bool YearCursors::hasRow() const { return journal.isOpen() && journal.recordNumber() != 0; }

std::filesystem::path journalFile(const state::MainState& state) {
    return storage::resolveCaseBlind(state.dataDir, state.settings.hauptdatei);
}

std::filesystem::path chartFile(const state::MainState& state) {
    return storage::resolveCaseBlind(state.dataDir, state.settings.konto);
}

}  // namespace quendra::journal
