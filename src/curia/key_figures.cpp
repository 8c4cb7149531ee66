#include "curia/key_figures.h"

#include "printing/property_figures.h"
#include "printing/summary_figures.h"
#include "storage/dbase/cursor.h"

namespace quendra::curia {

KeyFigures keyFigures(const std::filesystem::path& journal) {
    const printing::SummaryFigures summary = printing::summaryFigures(journal);
    const printing::PropertyFigures property = printing::propertyFigures(journal);
    KeyFigures figures;
    figures.movements = storage::Cursor(journal, storage::OpenMode::Shared).recordCount();
    figures.income = summary.sections[1].sum.value_or(0);
    figures.expense = summary.sections[2].sum.value_or(0);
    figures.saldo = summary.saldo;
    figures.totalLiquidity = summary.totalLiquidity;
    figures.liquidityOpening = property.liquidSum.opening;
    figures.liquidityYearEnd = property.liquidSum.yearEnd;
    figures.otherAssets = property.otherSum.yearEnd;
    figures.assets = property.assets.yearEnd;
    figures.liabilities = property.liabilitiesSum.yearEnd;
    figures.net = property.net.yearEnd;
    figures.change = property.change;
    return figures;
}

}  // namespace quendra::curia
