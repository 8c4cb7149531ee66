#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"

namespace quendra::printing {

// "&giornale": the movements of the range (options.from / options.to: numbers or dates)
// after the carry-over of everything before it, with the running sums carried from page
// to page, the total, and the liabilities and other assets at the end. Throws
// std::invalid_argument with an Italian message, before drawing, for a range that mixes
// a number and a date.
void runJournal(PageEngine& engine, const ReportOptions& options);

}  // namespace quendra::printing
