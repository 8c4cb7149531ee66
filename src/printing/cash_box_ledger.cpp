#include "printing/cash_box_ledger.h"

#include "printing/selection_queries.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"

#include <stdexcept>

namespace quendra::printing {

namespace {

namespace kr = storage::journal;

storage::Date dateOf(const std::optional<RangeBound>& bound, storage::Date otherwise) {
    if (!bound) return otherwise;
    if (const auto* date = std::get_if<storage::Date>(&*bound)) return *date;
    throw std::invalid_argument("Le opzioni \"data da\" e \"a data\" vogliono una data nel formato gg.mm.aaaa.");
}

// The selection dialog's query; for the date option over the scratch copy of the rows up
// to "a data" (those before "data da" make the carry-over line).
std::unique_ptr<storage::QueryResult> ledgerRows(const PageEngine& engine, const ReportOptions& options) {
    const PrintState& s = engine.state();
    const ReportYear& year = engine.year();
    const SelectionKind kind = s.accountChoiceMode ? SelectionKind::Accounts : SelectionKind::CashBoxes;
    const auto& keys = s.accountChoiceMode ? options.accounts : options.cashBoxes;
    if (keys.empty()) return storage::runSelect(emptySelectionQuery(year.journalPath));
    if (s.option == SelectionOption::DateRange) {
        writeDateScratch(year.journalPath, year.dataDir, storage::Date(),
                         dateOf(options.to, storage::Date::fromYmd(9999, 12, 31)));
    }
    const SelectionQuery query = selectionQuery(kind, s.option, keys, year.journalPath, year.dataDir, options.text);
    return storage::runSelect(query.sql, query.params);
}

}  // namespace

void runCashBoxLedger(PageEngine& engine, const ReportOptions& options) {
    PrintState& s = engine.state();
    // The empty date comes before every date: without "data da" nothing is carried.
    const storage::Date from =
        s.option == SelectionOption::DateRange ? dateOf(options.from, storage::Date()) : storage::Date();
    const auto result = ledgerRows(engine, options);
    storage::QueryResult& rows = *result;
    engine.setSize(11);
    engine.clearListArea();
    engine.Kopfformulare();
    const std::size_t keyIndex = rows.fieldIndex(s.accountChoiceMode ? kr::kCod : kr::kCodd);
    const std::size_t dateIndex = rows.fieldIndex(kr::kDatum);
    const auto keyOf = [&] { return rows.asText(keyIndex).substr(0, 6); };
    const auto add = [&] {
        const JournalLine line = JournalLine::of(rows);
        s.grand.add(line.income, line.expense);
        s.subAccount.add(line.income, line.expense);
        return line;
    };

    for (rows.first(); !rows.eof();) {
        const std::string key = keyOf();
        s.subAccountKey = key;
        const auto chartRow = engine.chart().exact(key);
        engine.zeileuk(key, chartRow ? chartRow->text : std::string());
        if (rows.asDate(dateIndex) < from) {
            for (; !rows.eof() && keyOf() == key && rows.asDate(dateIndex) < from; rows.next()) add();
            engine.zeilezz();
        }
        for (; !rows.eof() && keyOf() == key; rows.next()) {
            const JournalLine line = add();
            if (s.detailLines && !s.stopped()) engine.zeilez(line);
        }
        engine.zeileus();
        s.subAccount.zero();
    }
    engine.zeilets();
}

}  // namespace quendra::printing
