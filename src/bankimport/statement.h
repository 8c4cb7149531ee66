#pragma once

#include "storage/dbase/date.h"

#include <string>
#include <vector>

namespace quendra::bankimport {

// One movement as the bank's file states it. Amounts are positive; credit says the
// money came into the account.
struct StatementEntry {
    int line = 0;  // line of the file where the entry starts
    storage::Date booking;
    storage::Date value;  // empty when the file has none
    double amount = 0;
    bool credit = false;
    std::string currency;  // "EUR" unless the file says otherwise
    std::string text;      // UTF-8, blanks collapsed
    std::string reference; // the bank's own reference; empty when the file has none
};

// A line the user must leave out before anything is posted; the message is Italian.
struct StatementError {
    int line = 0;  // 0: the file as a whole
    std::string message;
};

struct Statement {
    std::vector<StatementEntry> entries;
    std::vector<StatementError> errors;
};

}  // namespace quendra::bankimport
