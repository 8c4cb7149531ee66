#include "export/budget_sheet.h"

#include "budget/budget_figures.h"

namespace quendra::spreadsheet {

void fillBudgetSheet(Sheet& sheet, const std::filesystem::path& journalPath, const std::filesystem::path& chartPath) {
    std::size_t row = 1;
    std::size_t column = 1;
    for (const char* heading : {"Codice", "Testo", "Preventivo", "Consuntivo", "Differenza"}) {
        sheet.setText(row, column++, heading);
    }
    const budget::Overview overview =
        budget::makeOverview({chartPath, journalPath, budget::budgetPathOf(journalPath), std::nullopt});
    for (const budget::SideLines* side : {&overview.income, &overview.expense}) {
        for (const budget::GroupLines& group : side->groups) {
            for (const budget::AccountLine& line : group.accounts) {
                if (line.planned == 0 && line.actual == 0) continue;
                ++row;
                sheet.setText(row, 1, line.code);
                sheet.setText(row, 2, line.text);
                sheet.setNumber(row, 3, line.planned);
                sheet.setNumber(row, 4, line.actual);
                sheet.setNumber(row, 5, line.actual - line.planned);
            }
        }
    }
}

}  // namespace quendra::spreadsheet
