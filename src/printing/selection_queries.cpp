#include "printing/selection_queries.h"

#include "printing/print_text.h"
#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "years/year_tables.h"

namespace quendra::printing {

namespace {

std::string availableRowsQuery(SelectionKind kind, const std::filesystem::path& chartPath) {
    return "select * from " + years::quotedTable(chartPath) +
           (kind == SelectionKind::Accounts ? R"( where (cod like "H%" ))"
                                            : R"( where (cod like " C%" ) or (cod like " P%" ) )") +
           " order by cod";
}

std::string availableLine(SelectionKind kind, const storage::RowReader& row) {
    namespace kw = storage::chart;
    const std::string cod = row.asText(kw::kCod);
    if (kind == SelectionKind::Accounts) {
        return std::string(chars(cod, 2, 3)) + " - " + trimRight(row.asText(kw::kText));
    }
    return std::string(chars(cod, 2, 5)) + " - " + trimRight(row.asText(kw::kTextH)) + " / " +
           trimRight(row.asText(kw::kText));
}

}  // namespace

std::vector<std::string> availableLines(SelectionKind kind, const std::filesystem::path& chartPath) {
    const auto rows = storage::runSelect(availableRowsQuery(kind, chartPath));
    std::vector<std::string> lines;
    for (rows->first(); !rows->eof(); rows->next()) lines.push_back(availableLine(kind, *rows));
    return lines;
}

std::string lineKey(SelectionKind kind, const std::string& line) {
    return line.substr(0, kind == SelectionKind::Accounts ? 3 : 5);
}

JournalRangeDefaults journalRangeDefaults(const std::filesystem::path& journalPath, bool byDate) {
    namespace kr = storage::journal;
    const auto rows =
        storage::runSelect("select * from " + years::quotedTable(journalPath) + (byDate ? " order by datum" : " order by nummer"));
    if (rows->recordCount() == 0) {
        return {};
    }
    rows->first();
    const std::string first = byDate ? rows->asDate(kr::kDatum).toDisplay() : "1";
    rows->last();
    const std::string last = byDate ? rows->asDate(kr::kDatum).toDisplay() : std::to_string(rows->asInteger(kr::kNummer));
    return {first, last};
}

}  // namespace quendra::printing
