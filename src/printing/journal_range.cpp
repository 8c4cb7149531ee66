#include "printing/journal_range.h"

#include "storage/amount_format.h"

namespace quendra::printing {

namespace {

struct Labels {
    std::string_view from;
    std::string_view to;
};
constexpr Labels kNumberLabels{"da numero", "a numero"};
constexpr Labels kDateLabels{"data di inizio", "data di fine"};

std::string notANumber(std::string_view label) {
    return "Il campo \"" + std::string(label) + "\" deve contenere un numero di movimento.";
}
std::string notADate(std::string_view label) {
    return "Il campo \"" + std::string(label) + "\" deve contenere una data nel formato gg.mm.aaaa.";
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string selectFrom(const std::filesystem::path& journal) { return "select * from " + quotedPath(journal); }

}  // namespace

JournalRangeReading readJournalRange(const JournalRangeInput& input) {
    if (input.byDate) {
        const auto from = storage::Date::parseDisplay(trimmed(input.from));
        if (!from) return {DateRange{}, notADate(kDateLabels.from)};
        const auto to = storage::Date::parseDisplay(trimmed(input.to));
        if (!to) return {DateRange{}, notADate(kDateLabels.to)};
        return {DateRange{*from, *to}, {}};
    }
    const auto from = storage::parseWholeNumber(input.from);
    if (!from) return {NumberRange{}, notANumber(kNumberLabels.from)};
    const auto to = storage::parseWholeNumber(input.to);
    if (!to) return {NumberRange{}, notANumber(kNumberLabels.to)};
    return {NumberRange{*from, *to}, {}};
}

BoundQuery carryOverQuery(const std::filesystem::path& journal, const JournalRange& range) {
    if (const auto* numbers = std::get_if<NumberRange>(&range)) {
        return {selectFrom(journal) + " where (nummer < :von) order by nummer",
                storage::QueryParams().number("von", double(numbers->from))};
    }
    const auto& dates = std::get<DateRange>(range);
    return {selectFrom(journal) + " where (datum < :dat1) order by datum,nummer",
            storage::QueryParams().date("dat1", dates.from)};
}

BoundQuery rangeQuery(const std::filesystem::path& journal, const JournalRange& range) {
    if (const auto* numbers = std::get_if<NumberRange>(&range)) {
        return {selectFrom(journal) + " where (nummer >= :von) and (nummer <= :bis) order by nummer",
                storage::QueryParams().number("von", double(numbers->from)).number("bis", double(numbers->to))};
    }
    const auto& dates = std::get<DateRange>(range);
    return {selectFrom(journal) + " where (datum >= :dat1) and (datum <= :dat2) order by datum,nummer",
            storage::QueryParams().date("dat1", dates.from).date("dat2", dates.to)};
}

std::string quotedPath(const std::filesystem::path& path) {
    std::string text = "\"";
    for (const char c : path.string()) {
        text += c;
        if (c == '"') text += '"';
    }
    return text + "\"";
}

}  // namespace quendra::printing
