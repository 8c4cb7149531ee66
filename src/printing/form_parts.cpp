#include "printing/form_parts.h"

#include "storage/dbase/text_case.h"

namespace quendra::printing {

void drawFormHeading(PageEngine& engine, std::string_view module, std::string_view title) {
    PrintState& s = engine.state();
    Canvas& canvas = engine.canvas();
    const Columns& c = s.columns;
    const ChartTextRow parish = engine.chart().parish();
    canvas.setFont(Font{"Arial", engine.sized(12), true});
    canvas.drawText(c.leftEdge, s.y, "Luogo: " + parish.texth);
    s.y += engine.zeile();
    canvas.drawText(c.leftEdge, s.y, "Parrocchia: " + storage::toUpperUtf8(parish.text));
    engine.drawRight(c.expenseEdge, s.y, module);
    s.y += 2 * engine.zeile();
    canvas.drawLine(c.leftEdge, s.y, c.expenseEdge, s.y);
    s.y += engine.zeile();
    // Centred over the rule, which a centre at half the expense edge is not.
    canvas.drawText((c.leftEdge + c.expenseEdge - canvas.textWidth(title)) / 2, s.y, title);
    canvas.setFont(Font{"Arial", engine.sized(11), false});
}

std::string dotted(Canvas& canvas, std::string label, int width) {
    while (canvas.textWidth(label) < width) label += '.';
    return label;
}

std::string withoutBlanks(std::string_view code) {
    std::string out;
    for (const char ch : code) {
        if (ch != ' ') out += ch;
    }
    return out;
}

}  // namespace quendra::printing
