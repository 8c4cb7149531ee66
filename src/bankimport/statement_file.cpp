#include "bankimport/statement_file.h"

#include "bankimport/bank_values.h"
#include "bankimport/camt053.h"
#include "bankimport/csv_statement.h"
#include "storage/amount_format.h"
#include "storage/dbase/codepage.h"
#include "storage/journal_record.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace quendra::bankimport {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kLargestFile = 64u << 20;

bool validUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

std::string asUtf8(std::string bytes) {
    if (std::string_view(bytes).starts_with(kByteOrderMark)) return bytes.substr(kByteOrderMark.size());
    if (validUtf8(bytes)) return bytes;
    return storage::decodeToUtf8(bytes, storage::CodePage::Windows1252);
}

std::string readAll(const std::filesystem::path& file, std::string& why) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error) {
        why = "il file non si può leggere";
        return {};
    }
    if (size > kLargestFile) {
        why = "il file è troppo grande per un estratto conto";
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) why = "il file non si può leggere";
    return bytes.str();
}

// Files without references (most CSV exports) get one from what the entry says; equal
// entries of one file are told apart by their order.
void giveReferences(Statement& statement) {
    std::map<std::string, int> seen;
    for (StatementEntry& entry : statement.entries) {
        if (!entry.reference.empty()) continue;
        std::string key = entry.booking.toIso() + '|' + std::to_string(std::llround(entry.amount * 100)) + '|' +
                          (entry.credit ? "C" : "D") + '|' + entry.text;
        key += '#' + std::to_string(seen[key]++);
        entry.reference = "#" + hashText(key);
    }
}

// Moves the entries the journal cannot take among the errors, in line order.
void checkEntries(Statement& statement, int year) {
    const double largest = largestJournalAmount();
    std::vector<StatementEntry> kept;
    for (StatementEntry& entry : statement.entries) {
        std::string why;
        if (entry.currency != "EUR") {
            why = "importo in " + entry.currency + ": si importano solo movimenti in EUR";
        } else if (entry.amount > largest) {
            why = "importo " + storage::formatNumber(entry.amount, storage::Picture::Amount) +
                  " troppo grande per il giornale";
        } else if (std::llround(entry.amount * 100) == 0) {
            why = "importo zero";
        } else if (entry.booking.year() != year) {
            why = "data " + entry.booking.toDisplay() + " fuori dell'esercizio " + std::to_string(year);
        }
        if (why.empty()) kept.push_back(std::move(entry));
        else statement.errors.push_back({entry.line, std::move(why)});
    }
    statement.entries = std::move(kept);
    std::stable_sort(statement.errors.begin(), statement.errors.end(),
                     [](const StatementError& a, const StatementError& b) { return a.line < b.line; });
}

void finish(StatementFile& file, int year) {
    checkEntries(file.statement, year);
    giveReferences(file.statement);
}

bool looksLikeTable(const CsvTable& table) {
    return std::any_of(table.rows.begin(), table.rows.end(), [](const auto& row) { return row.size() >= 3; });
}

}  // namespace

double largestJournalAmount() {
    for (const storage::FieldDef& field : storage::journal::fields()) {
        if (field.name != storage::journal::kEinnahme) continue;
        return std::pow(10.0, field.length - field.decimals - 1) - std::pow(10.0, -field.decimals);
    }
    return 0;
}

StatementFile readStatementFile(const std::filesystem::path& file, int year,
                                const std::optional<CsvColumns>& remembered) {
    StatementFile result;
    std::string why;
    const std::string bytes = readAll(file, why);
    if (!why.empty()) {
        result.statement.errors.push_back({0, why});
        return result;
    }
    const std::string text = asUtf8(bytes);
    if (looksLikeXml(text)) {
        result.statement = readCamt053(text);
        if (result.statement.entries.empty() && !result.statement.errors.empty() && result.statement.errors[0].line == 0) {
            return result;
        }
        result.kind = StatementKind::Camt053;
        finish(result, year);
        return result;
    }
    if (bytes.find('\0') == std::string::npos) result.table = splitCsv(text);
    if (!looksLikeTable(result.table)) {
        result.statement.errors.push_back({0, "il file non è un estratto conto: né camt.053 né CSV"});
        return result;
    }
    result.kind = StatementKind::Csv;
    result.columns = remembered ? remembered : recogniseColumns(result.table);
    if (!result.columns) {
        result.statement.errors.push_back(
            {0, "le colonne del file CSV non sono riconosciute: scelga data, causale e importo"});
        return result;
    }
    useColumns(result, *result.columns, year);
    return result;
}

void useColumns(StatementFile& file, const CsvColumns& columns, int year) {
    file.columns = columns;
    file.statement = readCsvStatement(file.table, columns);
    finish(file, year);
}

}  // namespace quendra::bankimport
