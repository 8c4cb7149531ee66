#pragma once

#include "printing/recording_canvas.h"
#include "support/chart_fixture.h"

#include <string>
#include <vector>

namespace quendra::test {

// The accounts the report tests book on: two expense and two income accounts, a cash box
// and a bank account, securities and a bank loan.
std::vector<ChartRow> reportChartRows();

// The non-empty texts of a recorded page grouped into printed lines (same y), each line left to
// right, lines in the order they were drawn.
std::vector<std::vector<std::string>> textLines(const printing::RecordedPage& page);

// Every printed line of the pages, each joined with " | ", page by page.
std::vector<std::string> joinedLines(const std::vector<printing::RecordedPage>& pages);

// The joined lines that contain text.
std::vector<std::string> linesWith(const std::vector<printing::RecordedPage>& pages, const std::string& text);

}  // namespace quendra::test
