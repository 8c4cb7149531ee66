#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"
#include "printing/statement_sections.h"

namespace quendra::printing {

// The statement listing in the depth of the state's report kind ("&tutti movimenti",
// "conti - sottoconti", "solo conti"): income, expense, other liquidity, assets and
// liabilities, account by account, with the section sums, "SALDO entrate/uscite",
// "TOTALE liquidità" and "TOTALE stato patrimoniale". With a text or date option only
// income and expense print. Throws std::invalid_argument with an Italian message, before
// drawing, when the date option's bounds are not dates.
void runStatementListing(PageEngine& engine, const ReportOptions& options);

// The option the state's selection option asks for, from the options.
StatementOption statementOptionOf(SelectionOption selection, const ReportOptions& options);

}  // namespace quendra::printing
