#include "printing/property_figures.h"

#include "storage/account_code.h"
#include "storage/group_sums.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "years/year_tables.h"

#include <cmath>
#include <functional>
#include <optional>

namespace quendra::printing {

namespace {

namespace journal = storage::journal;
using storage::Amounts;
using storage::BlockTotals;
using storage::GroupSums;

// The lines and totals of one block; shown turns a group's sums into its printed pair.
BlockTotals block(const std::filesystem::path& journalPath, const std::string& where, std::string_view groupingField,
                  Amounts amounts, const std::function<PropertyColumns(const GroupSums&)>& shown,
                  std::vector<PropertyLine>& lines) {
    const auto rows = storage::runSelect("select * from " + years::quotedTable(journalPath) + " where " + where +
                                         " order by " + std::string(groupingField));
    storage::GroupWalk walk(*rows, groupingField);
    BlockTotals totals;
    while (const std::optional<GroupSums> g = walk.next()) {
        if (g->netsToZero()) continue;
        const PropertyColumns values = shown(*g);
        lines.push_back({g->keyCode, g->prefix, values.opening, values.yearEnd});
        totals.add(*g, amounts);
    }
    return totals;
}

}  // namespace

PropertyFigures propertyFigures(const std::filesystem::path& journalPath) {
    PropertyFigures f;
    const BlockTotals l = block(
        journalPath, storage::liquidityFilter(journal::kCodd), journal::kCodd, Amounts::Signed,
        [](const GroupSums& g) { return PropertyColumns{g.openingBalance(), g.balance()}; }, f.liquid);
    const BlockTotals o = block(
        journalPath, storage::otherAssetsFilter(journal::kCod), journal::kCod, Amounts::Absolute,
        [](const GroupSums& g) { return PropertyColumns{-g.openingBalance(), -g.balance()}; }, f.otherAssets);
    const BlockTotals q = block(
        journalPath, "cod like \" P%\"", journal::kCod, Amounts::Absolute,
        [](const GroupSums& g) { return PropertyColumns{std::fabs(g.openingBalance()), std::fabs(g.balance())}; },
        f.liabilities);

    f.liquidSum = {l.openingBalance(), l.balance()};
    f.otherSum = {std::fabs(o.openingBalance()), std::fabs(o.balance())};
    f.assets = {f.otherSum.opening + f.liquidSum.opening, f.otherSum.yearEnd + f.liquidSum.yearEnd};
    f.liabilitiesSum = {q.openingBalance(), q.balance()};
    f.net = {l.openingBalance() - o.openingBalance() - q.openingBalance(), l.balance() - o.balance() - q.balance()};
    f.change = f.net.yearEnd - f.net.opening;
    return f;
}

}  // namespace quendra::printing
