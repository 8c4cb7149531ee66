#pragma once

#include "support/chart_fixture.h"
#include "support/fixed_clock.h"
#include "printing/page_engine.h"
#include "printing/recording_canvas.h"
#include "support/temp_dir.h"

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace quendra::test {

// A pager that answers from a script ("&avanti" = true) and counts its waits; an empty
// script answers "&avanti".
class ScriptedPager : public printing::Pager {
public:
    std::deque<bool> answers;
    int pageWaits = 0;
    int endWaits = 0;

    bool nextPage() override {
        ++pageWaits;
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void endOfReport() override { ++endWaits; }
};

// The year 2026/01 in dir: kr202601.dbf and kw202601.dbf.
printing::ReportYear yearIn(const std::filesystem::path& dir);

// A page engine over a recording canvas with the fixed metric, for the year 2026/01 of
// a temporary data directory whose chart has the parish header row (and the rows given).
struct PrintRig {
    explicit PrintRig(const std::vector<ChartRow>& chartRows = {});

    // Sets up the target and returns the engine.
    printing::PageEngine& paper();
    printing::PageEngine& screen(int width = 1600, int height = 1000);
    std::string dump() const { return printing::dumpPages(canvas.pages()); }

    TempDir dir;
    printing::ReportYear year{yearIn(dir.path())};
    printing::FixedTextMetric metric;
    printing::RecordingCanvas canvas{metric};
    printing::PrintState state;
    ScriptedPager pager;
    FixedClock clock{storage::Date::fromYmd(2026, 3, 14)};
    printing::PageEngine engine{state, canvas, pager, year, clock};
};

// Compares text with the golden file tests/printing/golden/NAME; writes the file instead
// when QUENDRA_UPDATE_GOLDEN is set.
void expectGolden(const std::string& name, const std::string& text);

}  // namespace quendra::test
