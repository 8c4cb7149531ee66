#include "storage/group_sums.h"

#include "storage/account_code.h"
#include "storage/journal_record.h"

#include <cmath>

namespace quendra::storage {

void BlockTotals::add(const GroupSums& g, Amounts amounts) {
    const auto value = [amounts](double v) { return amounts == Amounts::Absolute ? std::fabs(v) : v; };
    openingIncome += value(g.openingIncome);
    openingExpense += value(g.openingExpense);
    income += value(g.income);
    expense += value(g.expense);
}

GroupWalk::GroupWalk(QueryResult& rows, std::string_view groupingField)
    : rows_(rows),
      code_(rows.fieldIndex(groupingField)),
      income_(rows.fieldIndex(journal::kEinnahme)),
      expense_(rows.fieldIndex(journal::kAusgabe)),
      opening_(rows.fieldIndex(journal::kEroeffnung)) {
    rows_.first();
}

std::optional<GroupSums> GroupWalk::next() {
    if (rows_.eof()) return std::nullopt;
    GroupSums g;
    g.keyCode = rows_.asText(code_);
    g.prefix = std::string(groupPrefix(g.keyCode));
    while (!rows_.eof() && groupPrefix(rows_.asText(code_)) == g.prefix) {
        const double income = rows_.asNumber(income_);
        const double expense = rows_.asNumber(expense_);
        g.income += income;
        g.expense += expense;
        if (journal::isOpeningRow(rows_.asInteger(opening_))) {
            g.openingIncome += income;
            g.openingExpense += expense;
        }
        rows_.next();
    }
    return g;
}

}  // namespace quendra::storage
