#include "printing/cash_box_ledger.h"

#include "printing/journal_range.h"
#include "storage/dbase/text_case.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "years/year_tables.h"

namespace quendra::printing {

namespace {

namespace kr = storage::journal;

// The rows of the picked keys, as the selection dialog picks them; the codes, the text
// and the dates travel as parameters. With the date option the rows up to "a data":
// those before "data da" make the carry-over line. (No scratch table: a report may run
// on files received from a parish, in a folder that is not ours to write into.)
std::unique_ptr<storage::QueryResult> ledgerRows(const PageEngine& engine, const ReportOptions& options,
                                                 const DateRange& dates) {
    const PrintState& s = engine.state();
    const auto& keys = s.accountChoiceMode ? options.accounts : options.cashBoxes;
    storage::QueryParams params;
    std::string conditions;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string name = "k" + std::to_string(i + 1);
        conditions += std::string(conditions.empty() ? "" : " or ") +
                      (s.accountChoiceMode ? "(cod like :" + name + " || \"%\")" : "(codd = :" + name + ")");
        params.text(name, " " + keys[i]);
    }
    std::string sql = "select * from " + years::quotedTable(engine.year().journalPath) + " where (" +
                      (conditions.empty() ? "cod <> cod" : conditions) + ")";
    if (s.option == SelectionOption::Text && !options.text.empty()) {
        sql += " and (upper(text) like \"%\" || :testo || \"%\")";
        params.text("testo", storage::toUpperUtf8(options.text));
    } else if (s.option == SelectionOption::DateRange) {
        sql += " and (datum <= :dat2)";
        params.date("dat2", dates.to);
    }
    sql += s.accountChoiceMode ? " order by cod,datum,nummer" : " order by codd,datum,nummer";
    return storage::runSelect(sql, params);
}

}  // namespace

void runCashBoxLedger(PageEngine& engine, const ReportOptions& options) {
    PrintState& s = engine.state();
    // The empty date comes before every date: without "data da" nothing is carried.
    const DateRange dates = s.option == SelectionOption::DateRange ? dateOptionOf(options) : DateRange{};
    const storage::Date from = dates.from;
    const auto result = ledgerRows(engine, options, dates);
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
