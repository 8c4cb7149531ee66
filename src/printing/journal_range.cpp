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
constexpr long long kLastNumber = std::numeric_limits<long long>::max();

std::string boundText(long long number) { return std::to_string(number); }
std::string boundText(storage::Date date) { return date.toDisplay(); }

// A reversed range would print a carry-over and a total that look like the year's.
template <typename Range>
JournalRangeReading inOrder(const Range& range) {
    if (range.to < range.from) {
        return {range, "L'intervallo è rovesciato: il primo limite (" + boundText(range.from) +
                           ") viene dopo l'ultimo (" + boundText(range.to) + ")."};
    }
    return {range, {}};
}

std::string selectFrom(const std::filesystem::path& journal) { return "select * from " + years::quotedTable(journal); }

}  // namespace

// A field left empty reaches to the start or the end of the journal, as it is offered
// for a year without movements.
JournalRangeReading readJournalRange(const JournalRangeInput& input) {
    const auto empty = [](const std::string& text) {
        return trimmed(text).find_first_not_of(". ") == std::string::npos;
    };
    if (input.byDate) {
        const auto from = empty(input.from) ? std::optional<storage::Date>(storage::Date()) : storage::Date::parseDisplay(trimmed(input.from));
        if (!from) return {DateRange{}, notADate(kDateLabels.from)};
        const auto to = empty(input.to) ? std::optional<storage::Date>(kLastDate) : storage::Date::parseDisplay(trimmed(input.to));
        if (!to) return {DateRange{}, notADate(kDateLabels.to)};
        return inOrder(DateRange{*from, *to});
    }
    const auto from = empty(input.from) ? std::optional<long long>(1) : storage::parseWholeNumber(input.from);
    if (!from) return {NumberRange{}, notANumber(kNumberLabels.from)};
    const auto to = empty(input.to) ? std::optional<long long>(kLastNumber) : storage::parseWholeNumber(input.to);
    if (!to) return {NumberRange{}, notANumber(kNumberLabels.to)};
    return inOrder(NumberRange{*from, *to});
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
        return inOrder(dates);
    }
    NumberRange numbers{1, kLastNumber};
    if (options.from) numbers.from = std::get<long long>(*options.from);
    if (options.to) numbers.to = std::get<long long>(*options.to);
    return inOrder(numbers);
}

DateRange dateOptionOf(const ReportOptions& options) {
    const auto dateOf = [](const std::optional<RangeBound>& bound, storage::Date otherwise) {
        if (!bound) return otherwise;
        if (const auto* date = std::get_if<storage::Date>(&*bound)) return *date;
        throw std::invalid_argument("Le opzioni \"data da\" e \"a data\" vogliono una data nel formato gg.mm.aaaa.");
    };
    const DateRange dates{dateOf(options.from, storage::Date()), dateOf(options.to, kLastDate)};
    if (const JournalRangeReading reading = inOrder(dates); !reading.ok()) throw std::invalid_argument(reading.error);
    return dates;
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
