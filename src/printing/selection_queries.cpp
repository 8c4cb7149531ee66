#include "printing/selection_queries.h"

#include "printing/print_text.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/text_case.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "years/year_tables.h"

namespace quendra::printing {

namespace {

std::string orderOf(SelectionKind kind, bool withNumber) {
    const std::string field = kind == SelectionKind::Accounts ? "cod" : "codd";
    return " order by " + field + ",datum" + (withNumber ? ",nummer" : "");
}

std::string keyConditions(SelectionKind kind, const std::vector<std::string>& keys) {
    std::string out;
    for (const std::string& key : keys) {
        if (!out.empty()) {
            out += " or ";
        }
        out += kind == SelectionKind::Accounts ? "(cod like \" " + key + "%\")" : "(codd = \" " + key + "\")";
    }
    return out;
}

void copyRow(const storage::RowReader& from, storage::Cursor& to) {
    to.append();
    for (std::size_t i = 0; i < from.fieldCount(); ++i) {
        const storage::FieldDef& field = from.fieldDef(i);
        if (from.isBlank(i)) {
            continue;
        }
        if (field.isNumeric()) {
            to.setNumber(field.name, from.asNumber(i));
        } else if (field.type == storage::FieldType::Date) {
            to.setDate(field.name, from.asDate(i));
        } else {
            to.setText(field.name, from.asText(i));
        }
    }
    to.post();
}

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

SelectionQuery selectionQuery(SelectionKind kind, SelectionOption option, const std::vector<std::string>& keys,
                              const std::filesystem::path& journalPath, const std::filesystem::path& dataDir,
                              const std::string& text) {
    const std::string conditions = keyConditions(kind, keys);
    switch (option) {
    case SelectionOption::Text:
        return {"select * from " + years::quotedTable(journalPath) + R"( where (upper(text) like "%" || :t || "%"))" +
                    " and (" + conditions + ")" + orderOf(kind, true),
                storage::QueryParams().text("t", storage::toUpperUtf8(text))};
    case SelectionOption::DateRange:
        return {"select * from " + years::quotedTable(dataDir / kScratchTable) + " where " + conditions +
                    orderOf(kind, false),
                {}};
    case SelectionOption::None:
        break;
    }
    return {"select * from " + years::quotedTable(journalPath) + " where " + conditions + orderOf(kind, true), {}};
}

std::string emptySelectionQuery(const std::filesystem::path& journalPath) {
    return "select * from " + years::quotedTable(journalPath) + " where cod<>cod";
}

void writeDateScratch(const std::filesystem::path& journalPath, const std::filesystem::path& dataDir,
                      storage::Date from, storage::Date to) {
    const auto rows = storage::runSelect("select * from " + years::quotedTable(journalPath) +
                                             " where (datum >= :dat1) and (datum <= :dat2) order by datum",
                                         storage::QueryParams().date("dat1", from).date("dat2", to));
    storage::FieldList fields;
    for (std::size_t i = 0; i < rows->fieldCount(); ++i) {
        fields.push_back(rows->fieldDef(i));
        fields.back().hasTag = false;
    }
    const auto scratch = dataDir / kScratchTable;
    storage::createTable(scratch, fields, true);
    storage::Cursor out(scratch, storage::OpenMode::Exclusive);
    for (rows->first(); !rows->eof(); rows->next()) {
        copyRow(*rows, out);
    }
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
