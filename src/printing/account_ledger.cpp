#include "printing/account_ledger.h"

#include "printing/ledger.h"
#include "storage/journal_record.h"

namespace quendra::printing {

void runAccountLedger(PageEngine& engine, const ReportOptions& options) {
    drawLedger(engine, options, storage::journal::kCod);
}

}  // namespace quendra::printing
