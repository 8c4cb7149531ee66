#pragma once

#include "bankimport/statement.h"
#include "storage/journal_record.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::bankimport {

// The year and the bank a statement goes into.
struct ImportTarget {
    std::filesystem::path dataDir;
    std::string yearNumber;  // "201501"
    std::string cashBox;     // the bank's sub-account as stored, " C0201"

    std::filesystem::path journal() const;
    std::filesystem::path chart() const;
    int year() const;
};

enum class ProposalState {
    New,        // "nuovo"
    Imported,   // "importato": its reference was posted already; never posted again
    Duplicate,  // "doppio?": the bank has a movement of that amount within three days
};
std::string_view stateName(ProposalState state);

inline constexpr int kDuplicateDays = 3;

// A statement entry as the movement it would become.
struct Proposal {
    StatementEntry entry;
    std::string text;  // cut at a word to the journal's text field, in characters it can hold
    storage::journal::Side side = storage::journal::Side::Uscita;
    std::string cod;   // suggested account; empty when nothing was learned
    ProposalState state = ProposalState::New;
    bool ticked = false;
};

// The text as the journal's text field takes it: characters Windows-1252 lacks become
// "?", and a longer text is cut before the word that does not fit.
std::string journalText(std::string_view text);

// One proposal per entry, in the statement's order. The account is learned from the
// bank's movements of this year and of the previous year (a code this year's chart
// lacks is never suggested). New proposals with an account are ticked.
std::vector<Proposal> propose(const Statement& statement, const ImportTarget& target);

// Whether the bank is a cash box of this year's chart: a sub-account of C01 to C04.
bool isCashBoxOfChart(const ImportTarget& target);

struct CashBox {
    std::string code;
    std::string text;
};
// The cash boxes and bank accounts of a chart, in code order.
std::vector<CashBox> cashBoxesOfChart(const std::filesystem::path& chart);

}  // namespace quendra::bankimport
