#pragma once

#include "printing/recording_canvas.h"
#include "printing/report_catalog.h"
#include "support/chart_fixture.h"
#include "support/journal_fixture.h"
#include "support/print_rig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendra::test {

// The accounts the report tests book on: two expense and two income accounts, a cash box
// and a bank account, securities and a bank loan.
std::vector<ChartRow> reportChartRows();

// A report test: the report chart, a journal of the rows given, the report run on paper
// (or on screen) with the state's kind, modes and option as the test set them.
class ReportTest : public ::testing::Test {
protected:
    void runReport(printing::ReportFunction report, const std::vector<Movement>& rows,
                   const printing::ReportOptions& options, bool onScreen = false);
    const std::vector<printing::RecordedPage>& pages() const { return rig_.canvas.pages(); }

    PrintRig rig_{reportChartRows()};
};

// The non-empty texts of a recorded page grouped into printed lines (same y), each line left to
// right, lines in the order they were drawn.
std::vector<std::vector<std::string>> textLines(const printing::RecordedPage& page);

// Every printed line of the pages, each joined with " | ", page by page.
std::vector<std::string> joinedLines(const std::vector<printing::RecordedPage>& pages);

// The joined lines that contain text.
std::vector<std::string> linesWith(const std::vector<printing::RecordedPage>& pages, const std::string& text);

}  // namespace quendra::test
