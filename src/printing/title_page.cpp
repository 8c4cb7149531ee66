#include "printing/title_page.h"

#include "state/title_line.h"
#include "storage/dbase/text_case.h"

#include <string>

namespace quendra::printing {

namespace {

constexpr int kBeyondScreenPage = 10000;
constexpr int kScreenTop = 10;

}  // namespace

void drawTitlePage(PageEngine& engine) {
    PrintState& s = engine.state();
    Canvas& canvas = engine.canvas();
    const Columns& c = s.columns;
    const auto steps = [&](int n) { s.y += n * engine.zeile(); };
    // Centred between the column of the texts and the right end of the deanery.
    const auto centred = [&](int left, int right, const std::string& text) {
        canvas.drawText((left + right - canvas.textWidth(text)) / 2, s.y, text);
    };

    s.y = s.onPaper() ? s.top : kScreenTop;
    engine.clearListArea();
    const int left = c.dateColumn + canvas.textWidth("20.09");
    const int right = c.expenseEdge - canvas.textWidth("20.09");
    const ChartTextRow parish = engine.chart().parish();
    canvas.setFont(Font{"Arial", engine.sized(12), true});

    steps(4);
    const std::string diocese = "DIOCESI DI VARNELIA";
    canvas.drawText(left, s.y, diocese);
    canvas.drawText(left + canvas.textWidth(diocese + "  "), s.y,
                    "(" + state::versionTextOf(state::kMainCaption) + ")");
    engine.drawRight(right, s.y, "Decanato: " + storage::toUpperUtf8(parish.texta));

    steps(6);
    engine.setSize(14);
    centred(left, right, "Parrocchia di " + storage::toUpperUtf8(parish.text));
    steps(2);
    centred(left, right, "a " + storage::toUpperUtf8(parish.texth));
    steps(6);

    engine.setSize(20);
    canvas.drawText(left, s.y, "QUENDRA");
    canvas.setFont(Font{"Arial", engine.sized(12), false});

    if (!s.onPaper()) s.y = kBeyondScreenPage;
    if (!engine.contr()) return;
    steps(4);
    canvas.drawText(left, s.y, "dell'amministrazione ordinaria");
    steps(2);
    canvas.drawText(left, s.y, "per l'anno " + engine.year().year());
    steps(8);
    canvas.drawText(left, s.y, "approvato dal Consiglio parrocchiale per gli Affari Economici (C.P.A.E.)");
    steps(2);
    canvas.drawText(left, s.y, "il _______________________");
    steps(5);
    canvas.drawText(c.numberEdge, s.y, "Il parroco - Legale rappresentante");
    engine.drawRight(c.expenseEdge, s.y, "per il C.P.A.E.        ");
    steps(3);
    canvas.drawText(c.numberEdge + (c.expenseEdge - c.dateColumn) / 2, s.y, "L.S");
    steps(6);
    canvas.drawText(c.numberEdge, s.y, "data");
}

}  // namespace quendra::printing
