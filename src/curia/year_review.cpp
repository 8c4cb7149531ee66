#include "curia/year_review.h"

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

}  // namespace

YearReview reviewYear(const std::filesystem::path& journal, const std::filesystem::path& chart,
                      const std::filesystem::path& info, const std::string& yearNumber) {
    YearReview review;
    try {
        review.info = parseReceivedInfo(readLimited(info, kMaxInfoBytes));
        inspect(journal, storage::YearTable::Journal, kMaxJournalBytes, review.damage);
        inspect(chart, storage::YearTable::Chart, kMaxChartBytes, review.damage);
        if (!review.whole()) return review;
        review.parish = transfer::readParishHeader(chart);
        review.figures = keyFigures(journal);
        review.warnings = yearWarnings(journal, chart, yearNumber.substr(0, 4), review.info.year);
    } catch (const CuriaError& error) {
        review.damage.push_back(error.what());
    } catch (const storage::DbError& error) {
        review.damage.push_back(error.what());
    }
    return review;
}

}  // namespace quendra::curia
