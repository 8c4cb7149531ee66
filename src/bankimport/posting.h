#pragma once

#include "bankimport/proposals.h"

#include <stdexcept>
#include <vector>

namespace quendra::bankimport {

// A ticked proposal that cannot be posted; the message is Italian.
class PostingRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PostedMovement {
    std::size_t proposal;  // index into the proposals
    long long number;      // Nummer in the journal
};

// Posts the ticked proposals in date order (the statement's order among equal dates)
// through the journal's own path, each with the next number, and records each one's
// reference as it goes, after a backup of the year. Nothing is written when a ticked
// proposal has no account or was imported already (PostingRefused) or the backup fails
// (years::BackupFailed). None ticked: nothing happens, no backup.
std::vector<PostedMovement> postProposals(const std::vector<Proposal>& proposals, const ImportTarget& target);

}  // namespace quendra::bankimport
