#include "years/save_copy.h"

#include "storage/dbase/table_ops.h"
#include "storage/year_files.h"

namespace quendra::years {

using namespace storage;

namespace {

// The same folder however it is written (trailing separator, "..", a link to it).
bool sameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

SaveOutcome saveYearCopy(const std::filesystem::path& dataDir, const std::string& journalName,
                         const std::string& chartName, const std::filesystem::path& destination) {
    if (sameFolder(dataDir, destination)) return SaveOutcome::IntoDataDirectory;
    for (const std::string& name : {journalName, chartName}) {
        copyTable(resolveCaseBlind(dataDir, name), destination / name);
    }
    const std::string budgetName = budgetNameOfJournal(journalName);
    const std::filesystem::path budget = resolveCaseBlind(dataDir, budgetName);
    std::error_code error;
    if (std::filesystem::is_regular_file(budget, error)) {
        copyTable(budget, destination / budgetName);
    } else {
        // An older copy's budget would come back with this year on import.
        const std::filesystem::path stale = resolveCaseBlind(destination, budgetName);
        if (std::filesystem::is_regular_file(stale, error)) deleteTable(stale);
    }
    return SaveOutcome::Saved;
}

}  // namespace quendra::years
