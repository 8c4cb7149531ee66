#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"

namespace quendra::printing {

// "situazione &liquidita": the cash boxes picked, each with its movements and balance;
// in account-choice mode the chosen-account ledger instead.
void runCashBoxLedger(PageEngine& engine, const ReportOptions& options);

}  // namespace quendra::printing
