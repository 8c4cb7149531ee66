#include "printing/form_parts.h"

#include "storage/dbase/text_case.h"

#include <algorithm>

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
    // The fewest dots that reach the width. Measured from a guess, not dot by dot: each
    // measurement shapes the whole line, and a form has hundreds of such lines.
    const int bare = canvas.textWidth(label);
    if (bare >= width) return label;
    const int dot = std::max(1, canvas.textWidth("."));
    const auto reaches = [&](std::size_t dots) { return canvas.textWidth(label + std::string(dots, '.')) >= width; };
    std::size_t dots = std::size_t((width - bare) / dot);
    while (dots > 0 && reaches(dots - 1)) --dots;
    while (!reaches(dots)) ++dots;
    return label + std::string(dots, '.');
}

std::string withoutBlanks(std::string_view code) {
    std::string out;
    for (const char ch : code) {
        if (ch != ' ') out += ch;
    }
    return out;
}

}  // namespace quendra::printing
