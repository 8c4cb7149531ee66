#include "bankimport/posting.h"

#include "bankimport/imported_references.h"
#include "journal/journal_entry.h"
#include "storage/account_code.h"
#include "storage/dbase/cursor.h"
#include "years/year_backup.h"

#include <algorithm>

namespace quendra::bankimport {

namespace {

std::vector<std::size_t> tickedInDateOrder(const std::vector<Proposal>& proposals) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < proposals.size(); ++i) {
        const Proposal& proposal = proposals[i];
        if (!proposal.ticked) continue;
        const std::string line = "riga " + std::to_string(proposal.entry.line) + ": ";
        if (proposal.state == ProposalState::Imported) throw PostingRefused(line + "movimento già importato");
        if (!storage::isSubAccount(proposal.cod) || proposal.cod.size() != storage::kCodeLength) {
            throw PostingRefused(line + "manca il conto del movimento");
        }
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return proposals[a].entry.booking < proposals[b].entry.booking;
    });
    return order;
}

}  // namespace

std::vector<PostedMovement> postProposals(const std::vector<Proposal>& proposals, const ImportTarget& target) {
    const std::vector<std::size_t> order = tickedInDateOrder(proposals);
    std::vector<PostedMovement> posted;
    if (order.empty()) return posted;
    years::backupYear(target.dataDir, target.yearNumber, "importa-estratto");
    const std::filesystem::path references = referencesTable(target.dataDir, target.yearNumber);
    storage::Cursor journal(target.journal(), storage::OpenMode::Shared);
    for (const std::size_t index : order) {
        const Proposal& proposal = proposals[index];
        const long long number = journal::appendMovement(
            journal, {proposal.entry.booking, proposal.cod, target.cashBox, proposal.text, proposal.side,
                      proposal.entry.amount});
        addReference(references, {target.cashBox, proposal.entry.reference, proposal.entry.booking,
                                  proposal.entry.amount, number});
        posted.push_back({index, number});
    }
    return posted;
}

}  // namespace quendra::bankimport
