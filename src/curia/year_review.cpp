#include "curia/year_review.h"

#include "budget/budget_figures.h"
#include "curia/error.h"
#include "curia/inbox.h"
#include "curia/table_inspection.h"
#include "curia/year_warnings.h"
#include "storage/dbase/error.h"

namespace quendra::curia {

namespace {

void inspect(const std::filesystem::path& table, storage::YearTable kind, std::uintmax_t limit,
             std::vector<std::string>& damage) {
    const std::vector<std::string> found = tableDamage(readLimited(table, limit), kind, table.filename().string());
    damage.insert(damage.end(), found.begin(), found.end());
}

PlannedFigures plannedFigures(const FiledFiles& files) {
    const budget::Overview overview = budget::makeOverview({files.chart, files.journal, files.budget, std::nullopt});
    return {overview.income.planned, overview.expense.planned, overview.income.actual, overview.expense.actual};
}

}  // namespace

YearReview reviewYear(const FiledFiles& files, const std::string& yearNumber) {
    YearReview review;
    try {
        review.info = parseReceivedInfo(readLimited(files.info, kMaxInfoBytes));
        inspect(files.journal, storage::YearTable::Journal, kMaxJournalBytes, review.damage);
        inspect(files.chart, storage::YearTable::Chart, kMaxChartBytes, review.damage);
        if (!files.budget.empty()) inspect(files.budget, storage::YearTable::Budget, kMaxBudgetBytes, review.damage);
        if (!review.whole()) return review;
        review.parish = transfer::readParishHeader(files.chart);
        review.figures = keyFigures(files.journal);
        review.warnings = yearWarnings(files.journal, files.chart, yearNumber.substr(0, 4), review.info.year);
        if (!files.budget.empty()) review.planned = plannedFigures(files);
    } catch (const CuriaError& error) {
        review.damage.push_back(error.what());
    } catch (const storage::DbError& error) {
        review.damage.push_back(error.what());
    }
    return review;
}

}  // namespace quendra::curia
