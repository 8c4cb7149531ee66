#pragma once

#include "printing/report_options.h"
#include "storage/dbase/date.h"
#include "storage/query/params.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace quendra::printing {

// The two bounds the journal range dialog hands over, already read: movement numbers or
// dates, both included.
struct NumberRange {
    long long from = 0;
    long long to = 0;
};
struct DateRange {
    storage::Date from;
    storage::Date to;
};
using JournalRange = std::variant<NumberRange, DateRange>;

// The dialog's two fields as typed. byDate: "lista secondo data".
struct JournalRangeInput {
    bool byDate = false;
    std::string from;
    std::string to;
};

// A range ready to print, or the Italian message for a field that is not a number (or
// not a date): then nothing is printed.
struct JournalRangeReading {
    JournalRange range;
    std::string error;
    bool ok() const { return error.empty(); }
};
JournalRangeReading readJournalRange(const JournalRangeInput& input);

// The range of a report's options: two numbers or two dates; a bound left out reaches
// to the start or the end of the journal.
JournalRangeReading journalRangeOf(const ReportOptions& options);
// The date option's bounds ("data da", "a data"): dates only, a bound left out reaches
// to the start or the end of the journal. Throws std::invalid_argument with an Italian
// message for a number.
DateRange dateOptionOf(const ReportOptions& options);
// The options that print the range.
void putJournalRange(const JournalRange& range, ReportOptions& options);

// A query text and its parameters; the bounds travel only as parameters.
struct BoundQuery {
    std::string sql;
    storage::QueryParams params;
};

// Everything booked before the range (strictly less than its first bound), in the
// range's order: by number, or by date then number.
BoundQuery carryOverQuery(const std::filesystem::path& journal, const JournalRange& range);
// The range itself, both bounds included, in the same order.
BoundQuery rangeQuery(const std::filesystem::path& journal, const JournalRange& range);

}  // namespace quendra::printing
