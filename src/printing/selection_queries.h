#pragma once

#include "printing/print_state.h"
#include "storage/dbase/date.h"
#include "storage/query/params.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quendra::printing {

// What the selection dialog offers: main accounts ("estratto &conto a scelta") or the
// asset and liability sub-accounts ("situazione &liquidita").
enum class SelectionKind { Accounts, CashBoxes };

// More chosen lines than this are refused ("Hai evidenziato troppi campi").
inline constexpr std::size_t kMaxChosenLines = 181;
inline constexpr std::string_view kScratchTable = "temp.dbf";

// The lines of the available list, one per chart row in code order: "A07 - Culto" or
// "C0101 - Cassa / Cassa parrocchiale".
std::vector<std::string> availableLines(SelectionKind kind, const std::filesystem::path& chartPath);
// The key of a chosen line: its first three ("A07") or five ("C0101") characters.
std::string lineKey(SelectionKind kind, const std::string& line);

struct SelectionQuery {
    std::string sql;
    storage::QueryParams params;
};

// The rows of the chosen keys; with the text option, only rows whose text holds it (any
// case); with the date option, the rows of the scratch table (writeDateScratch).
SelectionQuery selectionQuery(SelectionKind kind, SelectionOption option, const std::vector<std::string>& keys,
                              const std::filesystem::path& journalPath, const std::filesystem::path& dataDir,
                              const std::string& text);
// No rows at all: nothing chosen, or the dialog cancelled.
std::string emptySelectionQuery(const std::filesystem::path& journalPath);

// The journal rows dated from..to (both included) in date order, as the table
// dataDir/temp.dbf (replaced).
void writeDateScratch(const std::filesystem::path& journalPath, const std::filesystem::path& dataDir,
                      storage::Date from, storage::Date to);

// The two fields of the journal range dialog: "1" and the last number ("lista secondo
// numeri"), or the first and the last date ("lista secondo data"). Empty texts for an
// empty journal.
struct JournalRangeDefaults {
    std::string first;
    std::string last;
};
JournalRangeDefaults journalRangeDefaults(const std::filesystem::path& journalPath, bool byDate);

}  // namespace quendra::printing
