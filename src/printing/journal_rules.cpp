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

bool applyJournalRowRules(std::string_view cod, std::string_view codd, double income, double expense,
                          JournalSums& sums) {
    if (isLiability(cod)) sums.liabilities.add(income, expense);
    if (isOtherAsset(cod)) sums.assets.add(income, expense);
    if (!storage::isLiquid(cod) && cod == codd) return false;
    sums.running.add(income, expense);
    return true;
}

JournalSums carryOverSums(const std::filesystem::path& journal, const JournalRange& range) {
    namespace kr = storage::journal;
    const BoundQuery query = carryOverQuery(journal, range);
    const auto rows = storage::runSelect(query.sql, query.params);
    const std::size_t cod = rows->fieldIndex(kr::kCod), codd = rows->fieldIndex(kr::kCodd);
    const std::size_t income = rows->fieldIndex(kr::kEinnahme), expense = rows->fieldIndex(kr::kAusgabe);
    JournalSums sums;
    for (rows->first(); !rows->eof(); rows->next()) {
        applyJournalRowRules(rows->asText(cod), rows->asText(codd), rows->asNumber(income), rows->asNumber(expense),
                             sums);
    }
    return sums;
}

}  // namespace quendra::printing
