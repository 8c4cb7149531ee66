#include "support/print_rig.h"

#include "support/file_contents.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quendra::test {

printing::ReportYear yearIn(const std::filesystem::path& dir) {
    printing::ReportYear year;
    year.dataDir = dir;
    year.journalPath = dir / "kr202601.dbf";
    year.chartPath = dir / "kw202601.dbf";
    year.yearNumber = "202601";
    return year;
}

PrintRig::PrintRig(const std::vector<ChartRow>& chartRows) {
    std::vector<ChartRow> rows{{.cod = "  PFAR", .text = "San Vito", .texth = "Borgo Alto", .texta = "Decanato Est"}};
    rows.insert(rows.end(), chartRows.begin(), chartRows.end());
    makeChart(year.chartPath, rows);
}

printing::PageEngine& PrintRig::paper() {
    state.target = printing::OutputTarget::Printer;
    metric.setUnitsPerPoint(printing::FixedTextMetric::kPaperUnitsPerPoint);
    engine.setUpPaper();
    return engine;
}

printing::PageEngine& PrintRig::screen(int width, int height) {
    state.target = printing::OutputTarget::Screen;
    metric.setUnitsPerPoint(printing::FixedTextMetric::kScreenUnitsPerPoint);
    engine.setUpScreen(width, height);
    return engine;
}

void expectGolden(const std::string& name, const std::string& text) {
    const auto file = std::filesystem::path(QUENDRA_SOURCE_DIR) / "tests/printing/golden" / name;
    if (std::getenv("QUENDRA_UPDATE_GOLDEN") != nullptr) {
        writeFile(file, text);
        return;
    }
    EXPECT_EQ(text, readFile(file)) << "golden file " << file;
}

}  // namespace quendra::test
