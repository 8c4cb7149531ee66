#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace quendra::printing {

// What the selection dialog offers: main accounts ("estratto &conto a scelta") or the
// asset and liability sub-accounts ("situazione &liquidita").
enum class SelectionKind { Accounts, CashBoxes };

// More chosen lines than this are refused ("Hai evidenziato troppi campi").
inline constexpr std::size_t kMaxChosenLines = 181;

// The lines of the available list, one per chart row in code order: "A07 - Culto" or
// "C0101 - Cassa / Cassa parrocchiale".
std::vector<std::string> availableLines(SelectionKind kind, const std::filesystem::path& chartPath);
// The key of a chosen line: its first three ("A07") or five ("C0101") characters.
std::string lineKey(SelectionKind kind, const std::string& line);

// The two fields of the journal range dialog: "1" and the last number ("lista secondo
// numeri"), or the first and the last date ("lista secondo data"). Empty texts for an
// empty journal.
struct JournalRangeDefaults {
    std::string first;
    std::string last;
};
JournalRangeDefaults journalRangeDefaults(const std::filesystem::path& journalPath, bool byDate);

}  // namespace quendra::printing
