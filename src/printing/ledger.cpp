#include "printing/ledger.h"

#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "storage/dbase/text_case.h"
#include "years/year_tables.h"

#include <stdexcept>

namespace quendra::printing {

namespace {

namespace kr = storage::journal;

std::string keyConditions(const PrintState& state, const ReportOptions& options, storage::QueryParams& params) {
    const auto& keys = state.accountChoiceMode ? options.accounts : options.cashBoxes;
    std::string conditions;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string name = "k" + std::to_string(i + 1);
        if (!conditions.empty()) conditions += " or ";
        conditions += state.accountChoiceMode ? "(cod like :" + name + " || \"%\")" : "(codd = :" + name + ")";
        params.text(name, " " + keys[i]);
    }
    return conditions.empty() ? "cod <> cod" : conditions;
}

std::optional<storage::Date> dateOf(const std::optional<RangeBound>& bound) {
    if (!bound) return std::nullopt;
    if (const auto* date = std::get_if<storage::Date>(&*bound)) return *date;
    throw std::invalid_argument("Le opzioni \"data da\" e \"a data\" vogliono una data nel formato gg.mm.aaaa.");
}

}  // namespace

BoundQuery ledgerQuery(const std::filesystem::path& journal, const PrintState& state, const ReportOptions& options) {
    BoundQuery query{"select * from " + years::quotedTable(journal) + " where (", {}};
    query.sql += keyConditions(state, options, query.params) + ")";
    if (state.option == SelectionOption::Text && !options.text.empty()) {
        query.sql += " and (upper(text) like \"%\" || :testo || \"%\")";
        query.params.text("testo", storage::toUpperUtf8(options.text));
    } else if (state.option == SelectionOption::DateRange) {
        dateOf(options.from);
        if (const auto to = dateOf(options.to)) {
            query.sql += " and (datum <= :dat2)";
            query.params.date("dat2", *to);
        }
    }
    query.sql += state.accountChoiceMode ? " order by cod,datum,nummer" : " order by codd,datum,nummer";
    return query;
}

void drawLedger(PageEngine& engine, const ReportOptions& options, std::string_view keyField) {
    PrintState& s = engine.state();
    const BoundQuery query = ledgerQuery(engine.year().journalPath, s, options);
    const auto result = storage::runSelect(query.sql, query.params);
    storage::QueryResult& rows = *result;
    const std::size_t keyIndex = rows.fieldIndex(keyField);
    const std::size_t dateIndex = rows.fieldIndex(kr::kDatum);
    // The empty date comes before every date: without "data da" nothing is carried.
    const storage::Date from =
        s.option == SelectionOption::DateRange ? dateOf(options.from).value_or(storage::Date()) : storage::Date();
    const auto keyOf = [&] { return rows.asText(keyIndex).substr(0, 6); };

    for (rows.first(); !rows.eof();) {
        const std::string key = keyOf();
        s.subAccountKey = key;
        const auto chartRow = engine.chart().exact(key);
        engine.zeileuk(key, chartRow ? chartRow->text : std::string());
        if (rows.asDate(dateIndex) < from) {
            for (; !rows.eof() && keyOf() == key && rows.asDate(dateIndex) < from; rows.next()) {
                const JournalLine line = JournalLine::of(rows);
                s.grand.add(line.income, line.expense);
                s.subAccount.add(line.income, line.expense);
            }
            engine.zeilezz();
        }
        for (; !rows.eof() && keyOf() == key; rows.next()) {
            const JournalLine line = JournalLine::of(rows);
            if (s.detailLines && !s.stopped()) engine.zeilez(line);
            s.grand.add(line.income, line.expense);
            s.subAccount.add(line.income, line.expense);
        }
        engine.zeileus();
        s.subAccount.zero();
    }
    engine.zeilets();
}

}  // namespace quendra::printing
