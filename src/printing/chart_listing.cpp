#include "printing/chart_listing.h"

#include "printing/print_text.h"
#include "storage/chart_record.h"
#include "storage/dbase/text_case.h"
#include "storage/query/query.h"
#include "years/year_tables.h"

namespace quendra::printing {

namespace {

void drawHeader(PageEngine& engine) {
    PrintState& s = engine.state();
    Canvas& canvas = engine.canvas();
    const ChartTextRow parish = engine.chart().parish();
    canvas.setFont(Font{"Arial", engine.sized(12), true});
    canvas.drawText(s.columns.leftEdge, s.y, "Ort: " + parish.texth);
    s.y += engine.zeile();
    canvas.drawText(s.columns.leftEdge, s.y, "Parrocchia: " + storage::toUpperUtf8(parish.text));
    engine.drawRight(s.columns.expenseEdge, s.y, "Piano conti " + engine.year().yearSlash());
    engine.setSize(11);
    s.y += 2 * engine.zeile();
    canvas.drawLine(s.columns.leftEdge, s.y, s.columns.expenseEdge, s.y);
    s.y += engine.zeile();
    canvas.setBold(false);
}

// A bold line with one line step before it and `after` steps after it.
void drawHeading(PageEngine& engine, const std::string& text, int after) {
    PrintState& s = engine.state();
    engine.canvas().setBold(true);
    s.y += engine.zeile();
    if (engine.contr()) {
        engine.canvas().drawText(s.columns.leftEdge, s.y, text);
    }
    engine.canvas().setBold(false);
    s.y += after * engine.zeile();
}

}  // namespace

std::string chartListingQuery(const std::filesystem::path& chartPath) {
    return "select * from " + years::quotedTable(chartPath) +
           R"( where (cod like " A%") or (cod like " E%") or (cod like " C%") or (cod like " P%") or (cod like " V%")  order by cod)";
}

void runChartListing(PageEngine& engine, const ReportOptions&) {
    namespace kw = storage::chart;
    PrintState& s = engine.state();
    engine.clearListArea();
    drawHeader(engine);
    const auto rows = storage::runSelect(chartListingQuery(engine.year().chartPath));
    std::string currentClass;
    std::string currentGroup;
    for (rows->first(); !rows->eof(); rows->next()) {
        const std::string cod = rows->asText(kw::kCod);
        if (std::string(chars(cod, 1, 2)) != currentClass) {
            currentClass = chars(cod, 1, 2);
            currentGroup.clear();
            drawHeading(engine, storage::toUpperUtf8(trimRight(rows->asText(kw::kTextA))), 2);
        }
        if (std::string(chars(cod, 1, 4)) != currentGroup) {
            currentGroup = chars(cod, 1, 4);
            drawHeading(engine, std::string(chars(cod, 2, 3)) + " " + trimRight(rows->asText(kw::kTextH)), 1);
        }
        if (engine.contr()) {
            engine.canvas().drawText(s.columns.leftEdge + engine.canvas().textWidth(currentGroup), s.y,
                                     std::string(chars(cod, 5, 2)) + ". " + trimRight(rows->asText(kw::kText)));
        }
        s.y += engine.zeile();
    }
}

}  // namespace quendra::printing
