#include "journal/journal_search.h"

#include "storage/amount_format.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/date.h"
#include "storage/journal_record.h"
#include "storage/dbase/text_case.h"

#include <functional>
#include <optional>

namespace quendra::journal {

namespace {

namespace kr = storage::journal;
using Match = std::function<bool(const storage::Cursor&)>;

}  // namespace

SearchOutcome JournalSearch::next(storage::Cursor& journal, SearchKind kind, std::string_view text) {
    Match matches;
    switch (kind) {
        case SearchKind::Numero: {
            const std::optional<long long> number = storage::parseWholeNumber(text);
            if (!number) return SearchOutcome::NotANumber;
            matches = [n = *number](const storage::Cursor& row) { return row.asInteger(kr::kNummer) == n; };
            break;
        }
        case SearchKind::Data: {
            const std::optional<storage::Date> date = storage::Date::parseDisplay(text);
            if (!date) return SearchOutcome::NotADate;
            matches = [d = *date](const storage::Cursor& row) { return row.asDate(kr::kDatum) >= d; };
            break;
        }
        case SearchKind::Oggetto:
            matches = [needle = storage::toUpperUtf8(text)](const storage::Cursor& row) {
                return storage::toUpperUtf8(row.asText(kr::kText)).find(needle) != std::string::npos;
            };
            break;
    }
    if (underWay_) {
        journal.next();
    } else {
        const std::uint32_t start = journal.recordNumber();
        journal.first();
        fromTop_ = journal.eof() || journal.recordNumber() == start;
        if (!fromTop_) journal.gotoRecord(start);
    }
    underWay_ = true;
    for (; !journal.eof(); journal.next()) {
        if (matches(journal)) return SearchOutcome::Found;
    }
    const bool wholeList = fromTop_;
    restart(journal);
    return wholeList ? SearchOutcome::NotFound : SearchOutcome::ReachedEnd;
}

void JournalSearch::restart(storage::Cursor& journal) {
    underWay_ = false;
    fromTop_ = true;
    journal.first();
}

std::string searchMessage(SearchOutcome outcome, std::string_view text) {
    switch (outcome) {
        case SearchOutcome::NotFound: return std::string(kSearchNotFound);
        case SearchOutcome::ReachedEnd:
            return "Raggiunta la fine dell'elenco senza trovare \"" + std::string(text) +
                   "\". Continuare la ricerca dall'inizio?";
        case SearchOutcome::NotANumber:
            return "\"" + std::string(text) + "\" non è un numero: inserisci il numero del movimento.";
        case SearchOutcome::NotADate:
            return "\"" + std::string(text) + "\" non è una data valida: inserisci la data come gg.mm.aaaa.";
        case SearchOutcome::Found: break;
    }
    return {};
}

}  // namespace quendra::journal
