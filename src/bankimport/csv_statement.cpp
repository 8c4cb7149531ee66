#include "bankimport/csv_statement.h"

#include "bankimport/bank_values.h"

#include <cmath>

namespace quendra::bankimport {

namespace {

std::string cell(const std::vector<std::string>& row, int column) {
    if (column < 0 || std::size_t(column) >= row.size()) return {};
    return collapseBlanks(row[std::size_t(column)]);
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The amount of a row, signed (negative: uscita); an Italian message when it has none.
std::optional<double> rowAmount(const std::vector<std::string>& row, const CsvColumns& columns, std::string& why) {
    if (columns.amount >= 0) {
        const std::string text = cell(row, columns.amount);
        const std::optional<double> value = parseBankAmount(text);
        if (!value) why = text.empty() ? "manca l'importo" : "importo " + quoted(text) + " non leggibile";
        return value;
    }
    const std::string in = cell(row, columns.income);
    const std::string out = cell(row, columns.expense);
    const std::optional<double> income = in.empty() ? 0.0 : parseBankAmount(in);
    const std::optional<double> expense = out.empty() ? 0.0 : parseBankAmount(out);
    if (!income || !expense) {
        why = "importo " + quoted(income ? out : in) + " non leggibile";
        return std::nullopt;
    }
    if (*income != 0 && *expense != 0) {
        why = "la riga ha un importo sia in entrata sia in uscita";
        return std::nullopt;
    }
    if (*income == 0 && *expense == 0) {
        why = "manca l'importo";
        return std::nullopt;
    }
    // Some banks write the expense column with a minus, some without.
    return *income != 0 ? std::abs(*income) : -std::abs(*expense);
}

bool hasAnyAmount(const std::vector<std::string>& row, const CsvColumns& columns) {
    for (int column : {columns.amount, columns.income, columns.expense}) {
        if (!cell(row, column).empty()) return true;
    }
    return false;
}

// Balance lines ("Saldo iniziale", "Saldo contabile al 28/02/2015") stand among the
// movements in many exports.
bool isBalanceLine(const std::vector<std::string>& row) {
    for (const std::string& field : row) {
        const std::string text = collapseBlanks(field);
        if (text.empty()) continue;
        std::string head = text.substr(0, 5);
        for (char& c : head) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return head == "saldo";
    }
    return false;
}

}  // namespace

Statement readCsvStatement(const CsvTable& table, const CsvColumns& columns) {
    Statement statement;
    for (std::size_t i = std::size_t(std::max(columns.headingRows, 0)); i < table.rows.size(); ++i) {
        const std::vector<std::string>& row = table.rows[i];
        const int line = table.lines[i];
        const std::string dateText = cell(row, columns.date);
        const std::optional<storage::Date> booking = parseBankDate(dateText);
        if (!booking && (!hasAnyAmount(row, columns) || isBalanceLine(row))) continue;
        if (!booking) {
            statement.errors.push_back(
                {line, dateText.empty() ? "manca la data" : "data " + quoted(dateText) + " non leggibile"});
            continue;
        }
        std::string why;
        const std::optional<double> amount = rowAmount(row, columns, why);
        if (!amount) {
            statement.errors.push_back({line, why});
            continue;
        }
        StatementEntry entry;
        entry.line = line;
        entry.booking = *booking;
        entry.value = parseBankDate(cell(row, columns.valueDate)).value_or(storage::Date());
        entry.amount = std::abs(*amount);
        entry.credit = *amount > 0;
        entry.currency = columns.currency >= 0 ? cell(row, columns.currency) : std::string();
        if (entry.currency.empty()) entry.currency = "EUR";
        for (int column : columns.text) {
            const std::string part = cell(row, column);
            if (part.empty() || entry.text.find(part) != std::string::npos) continue;
            if (!entry.text.empty()) entry.text.push_back(' ');
            entry.text += part;
        }
        entry.reference = cell(row, columns.reference);
        statement.entries.push_back(std::move(entry));
    }
    return statement;
}

}  // namespace quendra::bankimport
