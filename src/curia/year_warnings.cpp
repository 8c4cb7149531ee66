#include "curia/year_warnings.h"

#include "storage/account_code.h"
#include "storage/amount_format.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"

#include <map>
#include <set>

namespace quendra::curia {

namespace {

namespace journal = storage::journal;
namespace chart = storage::chart;

constexpr std::size_t kCodesListed = 20;

struct ChartTexts {
    std::map<std::string, std::string> byCode;  // COD: TEXT

    std::string nameOf(const std::string& code) const {
        const auto found = byCode.find(code);
        return found == byCode.end() || found->second.empty() ? std::string() : " (" + found->second + ")";
    }
};

ChartTexts readChart(const std::filesystem::path& file) {
    storage::Cursor table(file, storage::OpenMode::Shared);
    table.setPhysicalOrder();
    const std::size_t cod = table.fieldIndex(chart::kCod), text = table.fieldIndex(chart::kText);
    ChartTexts texts;
    for (table.first(); !table.eof(); table.next()) texts.byCode.emplace(table.asText(cod), table.asText(text));
    return texts;
}

struct Unknown {
    std::size_t rows = 0;
    long long firstNumber = 0;
};

// A code as the user types it: without its blanks; "(vuoto)" when nothing is left.
std::string shown(const std::string& code) {
    std::string out;
    for (const char c : code) {
        if (c != ' ') out += c;
    }
    return out.empty() ? "(vuoto)" : out;
}

}  // namespace

std::vector<std::string> yearWarnings(const std::filesystem::path& journalFile, const std::filesystem::path& chartFile,
                                      const std::string& fileYear, const std::string& infoYear) {
    std::vector<std::string> warnings;
    if (fileYear != infoYear) {
        warnings.push_back("L'anno dei file (" + fileYear + ") è diverso da quello indicato in info.txt (" +
                           (infoYear.empty() ? std::string("nessuno") : infoYear) + ")");
    }
    const ChartTexts texts = readChart(chartFile);
    storage::Cursor rows(journalFile, storage::OpenMode::Shared);
    rows.setPhysicalOrder();
    const std::size_t number = rows.fieldIndex(journal::kNummer), cod = rows.fieldIndex(journal::kCod),
                      codd = rows.fieldIndex(journal::kCodd), income = rows.fieldIndex(journal::kEinnahme),
                      expense = rows.fieldIndex(journal::kAusgabe);
    std::map<std::string, double> liquid;
    std::map<std::string, Unknown> unknown;
    for (rows.first(); !rows.eof(); rows.next()) {
        const std::string cashBox = rows.asText(codd);
        if (storage::isLiquid(cashBox)) liquid[cashBox] += rows.asNumber(income) - rows.asNumber(expense);
        for (const std::string& code : {rows.asText(cod), cashBox}) {
            if (texts.byCode.contains(code)) continue;
            Unknown& seen = unknown[code];
            if (seen.rows++ == 0) seen.firstNumber = rows.asInteger(number);
        }
    }
    for (const auto& [code, balance] : liquid) {
        if (balance < 0 && storage::formatNumber(balance, storage::Picture::Amount).starts_with("-")) {
            warnings.push_back("La cassa o banca " + shown(code) + texts.nameOf(code) + " chiude l'anno sotto zero: " +
                               storage::formatNumber(balance, storage::Picture::Amount));
        }
    }
    std::size_t listed = 0;
    for (const auto& [code, seen] : unknown) {
        if (++listed > kCodesListed) break;
        warnings.push_back("Il conto " + shown(code) + " non è nel piano dei conti: " + std::to_string(seen.rows) +
                           (seen.rows == 1 ? " riga" : " righe") + " (la prima è il movimento n. " +
                           std::to_string(seen.firstNumber) + ")");
    }
    if (unknown.size() > kCodesListed) {
        warnings.push_back("Altri " + std::to_string(unknown.size() - kCodesListed) + " conti non sono nel piano dei conti");
    }
    return warnings;
}

}  // namespace quendra::curia
