#pragma once

#include "bankimport/proposals.h"

#include <string>

namespace quendra::bankimport {

// One proposal as a line of text: date, side, amount, suggested account (five
// characters, "-----" when none), state, text, in columns.
std::string proposalLine(const Proposal& proposal);

// "riga 12: " and the message; a fault of the whole file without a line number.
std::string errorLine(const StatementError& error);

}  // namespace quendra::bankimport
