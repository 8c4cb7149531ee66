#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"

namespace quendra::printing {

// "situazione &liquidita" over the cash boxes of options.cashBoxes ("C0101") and, in
// account-choice mode, "estratto &conto a scelta" over the sub-accounts of the main
// accounts of options.accounts ("A07"), with the rows the selection dialog picks. Per
// cash box (or sub-account): its heading, the "RIPORTO " line of the rows before "data
// da", the rows when the detail flag is set, "Somma sottoconti:" with its balance; then
// "TOTALE: ". Throws std::invalid_argument with an Italian message, before drawing, when
// the date option's bounds are not dates.
void runCashBoxLedger(PageEngine& engine, const ReportOptions& options);

}  // namespace quendra::printing
