#include "printing/journal_rules.h"

#include "storage/account_code.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"

#include <cctype>

namespace quendra::printing {

bool isLiability(std::string_view cod) { return storage::classLetter(cod) == storage::kLiabilityClass; }

bool isOtherAsset(std::string_view cod) {
    if (storage::classLetter(cod) != storage::kAssetClass) return false;
    const std::string_view group = storage::groupNumber(cod);
    if (group.size() != 2 || !std::isdigit(static_cast<unsigned char>(group[0])) ||
        !std::isdigit(static_cast<unsigned char>(group[1]))) {
        return false;
    }
    return group >= "05" && group <= "10";
}

void addToClosingSections(std::string_view cod, double income, double expense, SumPair& liabilities,
                          SumPair& assets) {
    if (isLiability(cod)) liabilities.add(income, expense);
    if (isOtherAsset(cod)) assets.add(income, expense);
}

bool isListedInJournal(std::string_view cod, std::string_view codd) { return storage::isLiquid(cod) || cod != codd; }

JournalSums carryOverSums(const std::filesystem::path& journal, const JournalRange& range) {
    namespace kr = storage::journal;
    const BoundQuery query = carryOverQuery(journal, range);
    const auto rows = storage::runSelect(query.sql, query.params);
    const std::size_t cod = rows->fieldIndex(kr::kCod), codd = rows->fieldIndex(kr::kCodd);
    const std::size_t income = rows->fieldIndex(kr::kEinnahme), expense = rows->fieldIndex(kr::kAusgabe);
    JournalSums sums;
    for (rows->first(); !rows->eof(); rows->next()) {
        const std::string code = rows->asText(cod);
        const double in = rows->asNumber(income), out = rows->asNumber(expense);
        addToClosingSections(code, in, out, sums.liabilities, sums.assets);
        if (isListedInJournal(code, rows->asText(codd))) sums.running.add(in, out);
    }
    return sums;
}

}  // namespace quendra::printing
