#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"

// The budget's two reports, drawn in the annual report forms' style from the year's
// journal, chart and budget (the file beside the journal; none: nothing planned).
namespace quendra::budget {

// "Preventivo": ENTRATE and USCITE by main account and sub-account with the planned
// amounts, their sums and the planned SALDO.
void drawBudgetReport(printing::PageEngine& engine);

// "Confronto consuntivo – preventivo": for every sub-account and main account the actual
// amount, the planned amount, the difference and the share of the plan reached; the
// sums of each section; the real and the planned SALDO.
void drawComparisonReport(printing::PageEngine& engine);

// quendra-report's "preventivo" and "confronto".
void runBudgetReport(printing::PageEngine& engine, const printing::ReportOptions& options);
void runComparisonReport(printing::PageEngine& engine, const printing::ReportOptions& options);

}  // namespace quendra::budget
