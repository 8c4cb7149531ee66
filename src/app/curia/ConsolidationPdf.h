#pragma once

#include "curia/consolidation.h"

#include <filesystem>
#include <string>

namespace quendra::curia {

// The consolidation's short printed summary, A4 in the reports' font: a line per
// deanery, the diocese's total, the counts of parishes, warnings and missing parishes.
// Written aside and renamed into place. Needs a QGuiApplication. Returns the Italian
// reason of a failure, empty on success.
std::string writeConsolidationPdf(const Consolidation& consolidation, const std::filesystem::path& target);

}  // namespace quendra::curia
