#pragma once

#include "journal/year_cursors.h"
#include "storage/journal_record.h"

#include <string>

namespace quendra::journal {

// What the entry panel shows for the journal's current row.
struct EntryPanel {
    bool hasRow = false;
    std::string number;
    std::string date;         // dd.mm.yyyy
    std::string text;         // causale
    std::string account;      // the five significant characters of cod
    std::string cashBox;      // the same of codd
    std::string amount;       // "#0,.00"; empty while the side is undecided
    storage::journal::Side side = storage::journal::Side::Undecided;
    bool opening = false;     // "prima apertura": eroeffnung above 0
    std::string accountType;  // TEXTA, TEXTH, TEXT of the account's chart row
    std::string accountMain;
    std::string accountName;
    std::string cashBoxDescription;
};

EntryPanel readEntryPanel(const YearCursors& year);

// What an edit field shows when the user enters it.
std::string accountForEditing(const YearCursors& year);   // cod, or "A0101" when empty
std::string cashBoxForEditing(const YearCursors& year);
std::string amountForEditing(const YearCursors& year);    // "0,.00"
std::string dateForEditing(const YearCursors& year);

}  // namespace quendra::journal
