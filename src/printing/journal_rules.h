#pragma once

#include "printing/journal_range.h"

#include <filesystem>
#include <string_view>

namespace quendra::printing {

// What the journal keeps apart while it walks the rows.
struct JournalRowSums {
    double income = 0;
    double expense = 0;
    void add(double in, double out) {
        income += in;
        expense += out;
    }
    double balance() const { return income - expense; }
};

struct JournalSums {
    JournalRowSums running;      // listed movements (carry lines and "TOTALE: ")
    JournalRowSums liabilities;  // every class P row
    JournalRowSums assets;       // every row of the groups C05-C10
};

// The three row rules, the same for the carry-over and the listing: class P rows add to
// the liabilities, C05-C10 rows to the assets, and a row booked against its own account
// outside the cash boxes (an opening of a liability or an asset) is neither listed nor
// added to the running sums. Returns whether the row is listed.
bool applyJournalRowRules(std::string_view cod, std::string_view codd, double income, double expense,
                          JournalSums& sums);

// The carry-over pass: the row rules over everything booked before the range.
JournalSums carryOverSums(const std::filesystem::path& journal, const JournalRange& range);

bool isLiability(std::string_view cod);
bool isOtherAsset(std::string_view cod);  // groups C05-C10

}  // namespace quendra::printing
