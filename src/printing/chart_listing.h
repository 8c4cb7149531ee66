#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"

namespace quendra::printing {

// "&piano dei conti": the year's chart, class by class, main account by main account.
void runChartListing(PageEngine& engine, const ReportOptions& options);

// The chart rows the listing walks: the sub-accounts of the five classes, in code order.
std::string chartListingQuery(const std::filesystem::path& chartPath);

}  // namespace quendra::printing
