#include "budget/demo_budget.h"

#include "budget/budget_figures.h"
#include "storage/year_files.h"

#include <cmath>
#include <random>

namespace quendra::budget {

void makeDemoBudget(const std::filesystem::path& dataDir, const std::string& journalName, unsigned seed) {
    const std::filesystem::path journal = storage::resolveCaseBlind(dataDir, journalName);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(70, 130);
    Budget budget;
    int n = 0;
    for (const auto& [code, actual] : actualAmounts(journal)) {
        const double planned = std::nearbyint(actual * percent(random) / 100);
        if (planned <= 0) continue;
        Planned& row = budget[code];
        row.amount = planned;
        if (++n % 5 == 0) row.note = "approvato dal C.P.A.E.";
    }
    budget[" E0901"] = {1500, "contributo atteso"};
    writeAll(budgetPathOf(journal), budget);
}

}  // namespace quendra::budget
