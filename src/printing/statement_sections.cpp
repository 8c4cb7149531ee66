#include "printing/statement_sections.h"

#include "storage/account_code.h"
#include "storage/dbase/text_case.h"
#include "years/year_tables.h"

namespace quendra::printing {

namespace {

std::string bracketed(const std::string& condition) { return "(" + condition + ")"; }

}  // namespace

const std::vector<StatementSection>& statementSections() {
    static const std::vector<StatementSection> sections = [] {
        const std::string liquid = bracketed(storage::liquidityFilter("codd"));
        return std::vector<StatementSection>{
            {2, "Entrate", "cod like \" E%\" and " + liquid, 1, true},
            {3, "Uscite", "cod like \" A%\" and " + liquid, 1, true},
            {4, "Altre liquidità", "(cod like \" C%\" or cod like \" P%\") and " + liquid, 1, false},
            {5, "Attività (Titoli ecc.)", storage::otherAssetsFilter("cod"), -1, false},
            {6, "Passività (prestiti bancari, fondi, debiti ecc.)", "cod like \" P%\"", -1, false},
        };
    }();
    return sections;
}

BoundQuery sectionQuery(const std::filesystem::path& journal, const StatementSection& section,
                        const StatementOption& option) {
    BoundQuery query{"select * from " + years::quotedTable(journal) + " where " + section.condition, {}};
    if (section.takesOption) {
        if (const auto* text = std::get_if<TextOption>(&option)) {
            query.sql += " and upper(text) like \"%\" || :testo || \"%\"";
            query.params.text("testo", storage::toUpperUtf8(text->text));
        } else if (const auto* dates = std::get_if<DateRange>(&option)) {
            query.sql += " and ((datum >= :dat1) and (datum <= :dat2))";
            query.params.date("dat1", dates->from).date("dat2", dates->to);
        }
    }
    query.sql += " order by cod,datum,nummer";
    return query;
}

}  // namespace quendra::printing
