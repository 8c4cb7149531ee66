#pragma once

#include "storage/dbase/cursor.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Carrying the balances of a year into the next: the cash boxes and bank accounts, the
// other assets and the liabilities start the next year with carry-forward rows
// ("Riporto: ", eroeffnung 2); income, expense and property accounts start from nothing.
namespace quendra::years {

struct CarriedBalance {
    std::string code;
    double balance = 0;  // sum of Einnahme minus sum of Ausgabe
};

// The balances a journal hands on, in the order their rows are written: each cash box
// and bank account by codd (" C01".." C04"), each other asset by cod (" C" outside those
// groups), each liability by cod (" P"), every kind in ascending code order. Every row
// counts, opening rows included. Einnahme and Ausgabe are each summed in record order in
// double precision without rounding; a balance of exactly 0 is left out.
std::vector<CarriedBalance> carriedBalances(const std::filesystem::path& journal);

// numtest: the numbers a journal does not use yet, lowest first. Read once; the numbers
// handed out count as used from then on, as the rows written with them do.
class FreeNumbers {
public:
    explicit FreeNumbers(const std::filesystem::path& journal);
    // The smallest number not below n that is free; it is then taken.
    long long take(long long n);

private:
    std::set<long long> used_;
};

// codtext: the TEXT of the first row of the chart (in COD order) whose COD is not below
// code, so a code missing from the chart gets the text of the account after it; "" when
// the code lies beyond the last row.
std::string accountText(storage::Cursor& chartInCodOrder, std::string_view code);

// "Riporto: 2014/01 - " + the account's text, cut to width characters.
std::string carryForwardText(std::string_view sourceNumber, std::string_view accountText, std::size_t width);

// Replaces the carry-forward rows of the target year (every row with eroeffnung 2, hand
// marked ones included) by rows carrying the source year's balances: numbered from the
// lowest free numbers up, dated 1 January of the target year. The source is only read.
// Before anything is deleted the three files are checked (YearFileError when one is
// missing) and opened, and the target year is backed up (BackupFailed stops it). The
// rows are durable together when it returns. Returns the number of rows written.
std::size_t carryForward(const std::filesystem::path& dataDir, const std::string& sourceNumber,
                         const std::string& targetNumber);

// Mode 0: backs up the source year, creates the year after it (next free running
// number) with a copy of the source's chart and carries into it. Returns the new year
// number.
std::string carryIntoNewYear(const std::filesystem::path& dataDir, const std::string& sourceNumber);

// What the target's carry-forward rows say about the year they came from.
struct CarrySource {
    bool hasCarryRows = false;
    // "kr" + characters 10-13 and 15-16 of the first carry-forward row's text (in
    // record order): "kr201401.dbf" for "Riporto: 2014/01 - …".
    std::string journalName;
    // That year's number, when the name is a year journal's and the journal exists.
    std::optional<std::string> yearNumber;
};
CarrySource findCarrySource(const std::filesystem::path& dataDir, const std::string& targetNumber);

}  // namespace quendra::years
