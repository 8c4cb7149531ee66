#include "printing/journal_range.h"

#include "printing/print_text.h"
#include "storage/amount_format.h"
#include "years/year_tables.h"

#include <limits>
#include <stdexcept>

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

const storage::Date kLastDate = storage::Date::fromYmd(9999, 12, 31);

std::string selectFrom(const std::filesystem::path& journal) { return "select * from " + years::quotedTable(journal); }

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

JournalRangeReading journalRangeOf(const ReportOptions& options) {
    const bool datesGiven = (options.from && std::holds_alternative<storage::Date>(*options.from)) ||
                            (options.to && std::holds_alternative<storage::Date>(*options.to));
    const bool numbersGiven = (options.from && std::holds_alternative<long long>(*options.from)) ||
                              (options.to && std::holds_alternative<long long>(*options.to));
    if (datesGiven && numbersGiven) {
        return {NumberRange{}, "Il giornale si stampa fra due numeri di movimento o fra due date, non fra un numero e una data."};
    }
    if (datesGiven) {
        DateRange dates{storage::Date(), kLastDate};
        if (options.from) dates.from = std::get<storage::Date>(*options.from);
        if (options.to) dates.to = std::get<storage::Date>(*options.to);
        return {dates, {}};
    }
    NumberRange numbers{1, std::numeric_limits<long long>::max()};
    if (options.from) numbers.from = std::get<long long>(*options.from);
    if (options.to) numbers.to = std::get<long long>(*options.to);
    return {numbers, {}};
}

DateRange dateOptionOf(const ReportOptions& options) {
    const auto dateOf = [](const std::optional<RangeBound>& bound, storage::Date otherwise) {
        if (!bound) return otherwise;
        if (const auto* date = std::get_if<storage::Date>(&*bound)) return *date;
        throw std::invalid_argument("Le opzioni \"data da\" e \"a data\" vogliono una data nel formato gg.mm.aaaa.");
    };
    return {dateOf(options.from, storage::Date()), dateOf(options.to, kLastDate)};
}

void putJournalRange(const JournalRange& range, ReportOptions& options) {
    if (const auto* numbers = std::get_if<NumberRange>(&range)) {
        options.from = numbers->from;
        options.to = numbers->to;
    } else {
        options.from = std::get<DateRange>(range).from;
        options.to = std::get<DateRange>(range).to;
    }
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

}  // namespace quendra::printing
