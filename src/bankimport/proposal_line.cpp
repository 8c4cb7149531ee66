#include "bankimport/proposal_line.h"

#include "storage/account_code.h"
#include "storage/amount_format.h"
#include "storage/dbase/codepage.h"

namespace quendra::bankimport {

namespace {

std::string padded(std::string text, std::size_t width, bool right = false) {
    const std::size_t length = storage::utf8Length(text);
    if (length >= width) return text;
    const std::string fill(width - length, ' ');
    return right ? fill + text : text + fill;
}

}  // namespace

std::string proposalLine(const Proposal& proposal) {
    const bool income = proposal.side == storage::journal::Side::Entrata;
    const std::string code = proposal.cod.empty() ? "-----" : std::string(storage::typedFromStored(proposal.cod));
    return proposal.entry.booking.toDisplay() + "  " + padded(income ? "entrata" : "uscita", 7) + "  " +
           padded(storage::formatNumber(proposal.entry.amount, storage::Picture::Amount), 14, true) + "  " + code +
           "  " + padded(std::string(stateName(proposal.state)), 9) + "  " + proposal.text;
}

std::string errorLine(const StatementError& error) {
    return error.line > 0 ? "riga " + std::to_string(error.line) + ": " + error.message : error.message;
}

}  // namespace quendra::bankimport
