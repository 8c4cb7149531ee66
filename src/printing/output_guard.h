#pragma once

#include "printing/report_year.h"

#include <filesystem>
#include <string>

namespace quendra::printing {

// The Italian line refusing target as an output, or empty when target may be written:
// refused when it is, or resolves to (links and any spelling of the name included), the
// year's journal or chart, or a table, index or settings file of the year's folder.
std::string overwriteRefusal(const std::filesystem::path& target, const ReportYear& year);

}  // namespace quendra::printing
