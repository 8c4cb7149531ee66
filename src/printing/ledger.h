#pragma once

#include "printing/journal_range.h"
#include "printing/page_engine.h"
#include "printing/report_options.h"

#include <filesystem>
#include <string_view>

namespace quendra::printing {

// The rows of the ledgers: those of the cash boxes picked (options.cashBoxes, "C0101"),
// ordered by cash box, date and number; or, in account-choice mode, those of the sub-
// accounts of the main accounts picked (options.accounts, "A07"), ordered by account,
// date and number. The text option keeps the rows whose description contains the text
// in any case; the date option the rows up to "a data" (the rows before "data da" make
// the carry-over line). Codes, text and dates travel as parameters.
BoundQuery ledgerQuery(const std::filesystem::path& journal, const PrintState& state, const ReportOptions& options);

// The ledger body: per cash box (or sub-account) its heading, the "RIPORTO " line of the
// rows before "data da", the rows when the detail flag is set, "Somma sottoconti:" with
// the balance; then "TOTALE: ". keyField is "codd" for cash boxes, "cod" for accounts.
void drawLedger(PageEngine& engine, const ReportOptions& options, std::string_view keyField);

}  // namespace quendra::printing
