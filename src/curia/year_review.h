#pragma once

#include "curia/key_figures.h"
#include "curia/received_info.h"
#include "transfer/parish_info.h"

#include <filesystem>
#include <string>
#include <vector>

// Everything the diocese learns from one transmission: whether its tables are whole, who
// sent it, the year's key figures and the warnings.
namespace quendra::curia {

struct YearReview {
    std::vector<std::string> damage;  // not empty: the tables cannot be used
    ReceivedInfo info;
    transfer::ParishHeader parish;    // the chart's parish row
    KeyFigures figures;
    std::vector<std::string> warnings;

    bool whole() const { return damage.empty(); }
};

// The three files must be within their size limits (inbox.h); yearNumber is the one of
// the file names. Never throws for what the files hold: that goes to damage.
YearReview reviewYear(const std::filesystem::path& journal, const std::filesystem::path& chart,
                      const std::filesystem::path& info, const std::string& yearNumber);

}  // namespace quendra::curia
