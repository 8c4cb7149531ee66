// The page engine against a bare QPainter loop: 100,000 journal rows into a PDF. The bare
// loop draws the very strings at the very positions the engine drew (recorded once), so
// the difference is what the engine's layout, page control and metrics cost.

#include "printing/QtCanvas.h"
#include "printing/page_engine.h"
#include "printing/recording_canvas.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

using namespace quendra;
using namespace quendra::printing;

namespace {

constexpr int kRows = 100000;

class StillClock : public platform::Clock {
public:
    storage::Date today() const override { return storage::Date::fromYmd(2026, 1, 1); }
    std::chrono::system_clock::time_point now() const override { return {}; }
};

struct Setup {
    test::TempDir dir;
    ReportYear year;
    StillClock clock;

    Setup() {
        year = {dir.path(), dir / "kr202601.dbf", dir / "kw202601.dbf", "202601", {}};
        storage::createTable(year.chartPath, storage::chart::fields());
        storage::Cursor chart(year.chartPath, storage::OpenMode::Exclusive);
        chart.append();
        chart.setText(storage::chart::kCod, "  PFAR");
        chart.setText(storage::chart::kText, "San Vito");
        chart.setText(storage::chart::kTextH, "Borgo Alto");
        chart.post();
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

JournalLine row(int n) {
    JournalLine line;
    line.number = n;
    line.date = storage::Date::fromYmd(2026, 1 + n % 12, 1 + n % 28);
    line.cod = " A0701";
    line.codd = " C0101";
    line.text = "Movimento di prova numero " + std::to_string(n) + " con una descrizione di media lunghezza";
    line.income = n % 3 == 0 ? n * 1.25 : 0;
    line.expense = n % 3 == 0 ? 0 : n * 0.75;
    return line;
}

// The synthetic report: title, header, then the rows with the journal's page breaks.
void drawReport(Canvas& canvas) {
    PrintState state;
    state.kind = ReportKind::Journal;
    state.target = OutputTarget::Pdf;
    NoWaitPager pager;
    PageEngine engine(state, canvas, pager, setup().year, setup().clock);
    engine.setUpPaper();
    engine.drucktitel();
    engine.kopf();
    for (int n = 1; n <= kRows; ++n) {
        const JournalLine line = row(n);
        state.subAccount.add(line.income, line.expense);
        engine.zeilez(line);
    }
    state.journalFinished = true;
    engine.finish();
}

void pdfWriter(QPdfWriter& writer) {
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
}

void BM_EngineToPdf(benchmark::State& state) {
    const auto file = setup().dir / "engine.pdf";
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(file.string()));
        pdfWriter(writer);
        QPainter painter(&writer);
        QtCanvas canvas(painter, CanvasGeometry::paper(writer.resolution()), &writer);
        drawReport(canvas);
        painter.end();
    }
    state.counters["rows"] = kRows;
}

void BM_BareQPainterToPdf(benchmark::State& state) {
    // The engine's output, once, as data at the PDF's own metrics.
    QPdfWriter probe(QString::fromStdString((setup().dir / "probe.pdf").string()));
    pdfWriter(probe);
    const CanvasGeometry geometry = CanvasGeometry::paper(probe.resolution());
    QtTextMetric metric(geometry);
    RecordingCanvas recorded(metric);
    drawReport(recorded);
    const auto file = setup().dir / "bare.pdf";
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(file.string()));
        pdfWriter(writer);
        QPainter painter(&writer);
        const double f = geometry.devicePerUnit;
        QPen pen(Qt::black);
        pen.setWidthF(2 * f);
        painter.setPen(pen);
        Font current{"", 0, false};
        double ascent = 0;
        bool first = true;
        for (const RecordedPage& page : recorded.pages()) {
            if (!first) writer.newPage();
            first = false;
            for (const DrawItem& item : page.items) {
                if (item.kind == DrawItem::Kind::Line) {
                    painter.drawLine(QPointF(item.x1 * f, -item.y1 * f), QPointF(item.x2 * f, -item.y2 * f));
                    continue;
                }
                if (item.text.empty()) continue;
                if (!(item.font == current)) {
                    current = item.font;
                    painter.setFont(qtFont(current, geometry));
                    ascent = QFontMetricsF(painter.font(), &writer).ascent();
                }
                painter.drawText(QPointF(item.x1 * f, -item.y1 * f + ascent), QString::fromStdString(item.text));
            }
        }
        painter.end();
    }
    state.counters["rows"] = kRows;
}

BENCHMARK(BM_EngineToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_BareQPainterToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
