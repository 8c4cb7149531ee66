#include "printing/cash_box_ledger.h"

#include "printing/account_ledger.h"
#include "printing/ledger.h"
#include "storage/journal_record.h"

namespace quendra::printing {

void runCashBoxLedger(PageEngine& engine, const ReportOptions& options) {
    engine.setSize(11);
    engine.clearListArea();
    engine.Kopfformulare();
    if (engine.state().accountChoiceMode) {
        runAccountLedger(engine, options);
        return;
    }
    drawLedger(engine, options, storage::journal::kCodd);
}

}  // namespace quendra::printing
