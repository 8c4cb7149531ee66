#pragma once

#include "printing/journal_range.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quendra::printing {

// The option of the print window that narrows the income and expense sections: none, a
// text the description must contain (any case), or a date range (both days included).
struct TextOption {
    std::string text;
};
using StatementOption = std::variant<std::monostate, TextOption, DateRange>;

// One section of the statement listing: its heading, the rows it takes and the sign its
// rows carry into the sums.
struct StatementSection {
    int number = 0;
    std::string_view heading;
    std::string condition;  // the where clause, without the option
    int sign = 1;
    bool takesOption = false;
};

// Sections 2 to 6 in print order: "Entrate", "Uscite", "Altre liquidità",
// "Attività (Titoli ecc.)", "Passività (prestiti bancari, fondi, debiti ecc.)".
const std::vector<StatementSection>& statementSections();

// The section's query over the journal, ordered by account, date and number; the option
// text and dates travel as parameters.
BoundQuery sectionQuery(const std::filesystem::path& journal, const StatementSection& section,
                        const StatementOption& option);

}  // namespace quendra::printing
