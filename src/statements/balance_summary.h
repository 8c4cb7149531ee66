#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {
class Cursor;
}

// The balance summary ("Riepilogo"): the assets and liabilities of a year at its opening
// and after all movements, computed from the journal alone; the chart only names the lines.
namespace quendra::statements {

enum class LineStyle {
    Heading,  // "A T T I V A", "P A S S I V A": text only
    Group,    // one group of accounts
    Total,
    Banks,    // "TOTALE Banche": red bold text, bold amounts
    Blank,
};

enum class Rule {
    None,
    UnderAmounts,  // a short rule under the two amount columns
    FullWidth,
};

struct SummaryLine {
    std::string text;
    std::string opening;  // formatted amount; empty: the cell stays empty
    std::string closing;
    LineStyle style = LineStyle::Blank;
    Rule ruleAfter = Rule::None;  // drawn below the line

    friend bool operator==(const SummaryLine&, const SummaryLine&) = default;
};

// Told of every change (a line added, a rule set) with all lines so far, so that a window
// can show them while the journal is read.
using SummaryProgress = std::function<void(const std::vector<SummaryLine>&)>;

// The lines of the summary, from the top. Reads the journal with one query per section;
// the chart is opened only when a group line needs its text. A table or query that fails
// throws DbError after the lines built so far were reported.
std::vector<SummaryLine> balanceSummary(const std::filesystem::path& journalPath,
                                        const std::filesystem::path& chartPath,
                                        const SummaryProgress& progress = {});

// TEXTH of the first chart row whose COD is not less than code, on a cursor ordered by
// its cod tag (for a sub-account: the name of its main account); "" when there is none.
std::string codtext(storage::Cursor& chartByCod, std::string_view code);

}  // namespace quendra::statements
