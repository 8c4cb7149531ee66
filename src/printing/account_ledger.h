#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"

namespace quendra::printing {

// "estratto &conto a scelta": the sub-accounts of the main accounts picked, each with
// its movements and balance (the page header is drawn by the cash-box ledger).
void runAccountLedger(PageEngine& engine, const ReportOptions& options);

}  // namespace quendra::printing
