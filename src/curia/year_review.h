#pragma once

#include "curia/inbox.h"
#include "curia/key_figures.h"
#include "curia/received_info.h"
#include "transfer/parish_info.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Everything the diocese learns from one transmission: whether its tables are whole, who
// sent it, the year's key figures and the warnings.
namespace quendra::curia {

// The budget beside the actuals, by the rules of the parish's comparison report.
struct PlannedFigures {
    double income = 0, expense = 0;              // planned ENTRATE, USCITE
    double actualIncome = 0, actualExpense = 0;  // the same sections' actual sums
    double saldo() const { return income - expense; }
    double actualSaldo() const { return actualIncome - actualExpense; }
};

struct YearReview {
    std::vector<std::string> damage;  // not empty: the tables cannot be used
    ReceivedInfo info;
    transfer::ParishHeader parish;    // the chart's parish row
    KeyFigures figures;
    std::optional<PlannedFigures> planned;  // when a budget was sent
    std::vector<std::string> warnings;

    bool whole() const { return damage.empty(); }
};

// The files must be within their size limits (inbox.h); yearNumber is the one of the
// file names. A damaged budget damages the transmission. Never throws for what the files
// hold: that goes to damage.
YearReview reviewYear(const FiledFiles& files, const std::string& yearNumber);

}  // namespace quendra::curia
