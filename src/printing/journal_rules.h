#pragma once

#include "printing/journal_range.h"
#include "printing/print_state.h"

#include <filesystem>
#include <string_view>

namespace quendra::printing {

// What the journal keeps apart while it walks the rows.
struct JournalSums {
    SumPair running;      // listed movements: the carry lines and "TOTALE: "
    SumPair liabilities;  // every class P row
    SumPair assets;       // every row of the groups C05-C10
};

// The three row rules, the same for the carry-over and the listing. A class P row adds
// to the liabilities, a row of C05-C10 to the assets (both before the third rule, so
// that opening rows count in the closing sections).
void addToClosingSections(std::string_view cod, double income, double expense, SumPair& liabilities,
                          SumPair& assets);
// A row booked against its own account outside the cash boxes (the opening of a liability
// or an asset) is neither listed nor added to the running sums.
bool isListedInJournal(std::string_view cod, std::string_view codd);

// The carry-over pass: the row rules over everything booked before the range.
JournalSums carryOverSums(const std::filesystem::path& journal, const JournalRange& range);

bool isLiability(std::string_view cod);
bool isOtherAsset(std::string_view cod);  // groups C05-C10

}  // namespace quendra::printing
