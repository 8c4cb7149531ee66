// The journal and the three statement listings of a year, to PDF and through the
// preview's drawing, each beside a bare QPainter loop on a QPdfWriter that draws the same
// texts and lines at the same places in the same fonts (the yardstick).
//
// Targets: every report within 1.5× of its bare loop on a year of 100,000 movements (for
// the listings with few lines, within 1.5× of their section queries plus the bare loop);
// every report of a year of 3,000 movements to PDF in under a second.

#include "platform/clock.h"
#include "printing/PaperPrint.h"
#include "printing/QtCanvas.h"
#include "printing/page_engine.h"
#include "printing/recording_canvas.h"
#include "printing/report_catalog.h"
#include "printing/statement_sections.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "support/temp_dir.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace quendra;
namespace fs = std::filesystem;
namespace kr = storage::journal;
namespace kw = storage::chart;

struct Account {
    const char* cod;
    const char* text;
    const char* texth;
};
constexpr Account kAccounts[] = {
    {"  PFAR", "San Vito", "Borgo Alto"},
    {" A0101", "Luce", "Utenze"},           {" A0102", "Gas", "Utenze"},
    {" A0201", "Manutenzione", "Spese ordinarie"}, {" A0301", "Culto", "Spese per il culto"},
    {" C0101", "Cassa parrocchiale", "Cassa"},     {" C0201", "Banca Alfa", "Banche"},
    {" C0501", "Titoli di Stato", "Titoli"},       {" E0101", "Offerte", "Offerte e collette"},
    {" E0102", "Collette", "Offerte e collette"},  {" E0201", "Affitti", "Rendite"},
    {" P0201", "Mutuo Banca Alfa", "Debiti verso banche"},
};

// A year of the given size in a directory of its own: income and expense on several
// accounts through the cash box and the bank, a few loan and securities movements.
class Year {
public:
    explicit Year(int movements) {
        year_.dataDir = dir_.path();
        year_.journalPath = dir_ / "kr202601.dbf";
        year_.chartPath = dir_ / "kw202601.dbf";
        year_.yearNumber = "202601";
        storage::createTable(year_.chartPath, kw::fields());
        {
            storage::Cursor chart(year_.chartPath, storage::OpenMode::Exclusive);
            for (const Account& a : kAccounts) {
                chart.append();
                chart.setText(kw::kCod, a.cod);
                chart.setText(kw::kText, a.text);
                chart.setText(kw::kTextH, a.texth);
                chart.post();
            }
            for (const auto& tag : kw::kTags) chart.addTag(tag.name, tag.field, tag.primary);
        }
        storage::createTable(year_.journalPath, kr::fields());
        storage::Cursor journal(year_.journalPath, storage::OpenMode::Exclusive);
        std::mt19937 rng(11);
        const char* spending[] = {" A0101", " A0102", " A0201", " A0301"};
        const char* earning[] = {" E0101", " E0102", " E0201"};
        const storage::Date first = storage::Date::fromYmd(2026, 1, 1);
        for (int i = 1; i <= movements; ++i) {
            const unsigned pick = rng() % 100;
            const bool income = pick < 45;
            const char* cod = pick >= 98 ? " P0201" : pick >= 96 ? " C0501" : income ? earning[rng() % 3] : spending[rng() % 4];
            journal.append();
            journal.setNumber(kr::kNummer, i);
            journal.setDate(kr::kDatum, first.addDays(int(i * 365LL / (movements + 1))));
            journal.setText(kr::kCod, cod);
            journal.setText(kr::kCodd, rng() % 3 ? " C0101" : " C0201");
            journal.setText(kr::kText, "Movimento di prova numero " + std::to_string(i));
            journal.setNumber(income ? kr::kEinnahme : kr::kAusgabe, double(rng() % 100'000) / 100.0);
            journal.setNumber(kr::kEA, income ? 2 : 1);
            journal.post();
        }
        for (const auto& tag : kr::kTags) journal.addTag(tag.name, tag.field, tag.primary);
    }

    const printing::ReportYear& year() const { return year_; }
    fs::path pdf() const { return dir_ / "out.pdf"; }

private:
    test::TempDir dir_;
    printing::ReportYear year_;
};

Year& yearOf(int movements) {
    static std::map<int, std::unique_ptr<Year>> years;
    auto& year = years[movements];
    if (!year) year = std::make_unique<Year>(movements);
    return *year;
}

const char* const kReports[] = {"giornale", "movimenti", "sottoconti", "conti"};

void report(benchmark::State& state, const char* name, int movements) {
    const Year& year = yearOf(movements);
    const printing::ReportEntry& entry = *printing::findReport(name);
    platform::SystemClock clock;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printing::configurePrinter(printer, QString::fromStdString(printing::documentTitle(entry, year.year())),
                                   QString::fromStdString(year.pdf().string()));
        printing::PrintState print;
        printing::prepareState(entry, printing::ReportOptions{}, print);
        printing::printReport(entry, printing::ReportOptions{}, year.year(), print, printer, clock);
    }
}

// The report's pages as the paper engine draws them, in the fonts the PDF measures.
std::vector<printing::RecordedPage> recorded(const char* name, int movements, int resolution) {
    const Year& year = yearOf(movements);
    const printing::ReportEntry& entry = *printing::findReport(name);
    printing::QtTextMetric metric(printing::CanvasGeometry::paper(resolution));
    printing::RecordingCanvas canvas(metric);
    printing::NoWaitPager pager;
    platform::SystemClock clock;
    printing::PrintState print;
    printing::prepareState(entry, printing::ReportOptions{}, print);
    print.target = printing::OutputTarget::Pdf;
    printing::PageEngine engine(print, canvas, pager, year.year(), clock);
    printing::runReport(entry, engine, printing::ReportOptions{});
    return canvas.pages();
}

// The yardstick: the same texts and lines with QPainter on a QPdfWriter, nothing else.
void bareLoop(benchmark::State& state, const char* name, int movements) {
    const fs::path file = yearOf(movements).pdf();
    QPdfWriter probe(QString::fromStdString(file.string()));
    probe.setResolution(1200);
    const auto pages = recorded(name, movements, probe.resolution());
    const auto geometry = printing::CanvasGeometry::paper(probe.resolution());
    std::size_t items = 0;
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(file.string()));
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        printing::Font current{"", 0, false};
        QFontMetricsF metrics(painter.font());
        items = 0;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            if (p > 0) writer.newPage();
            for (const printing::DrawItem& item : pages[p].items) {
                ++items;
                const double k = geometry.devicePerUnit;
                if (item.kind == printing::DrawItem::Kind::Line) {
                    painter.setPen(QPen(Qt::black, item.penWidth * k));
                    painter.drawLine(QPointF(item.x1 * k, -item.y1 * k), QPointF(item.x2 * k, -item.y2 * k));
                    continue;
                }
                if (!(item.font == current)) {
                    current = item.font;
                    painter.setFont(printing::qtFont(current, geometry));
                    metrics = QFontMetricsF(painter.font());
                }
                painter.drawText(QPointF(item.x1 * k, -item.y1 * k + metrics.ascent()), QString::fromStdString(item.text));
            }
        }
    }
    state.counters["items"] = double(items);
}

// The preview paged through without waiting: each screen page drawn and painted once.
class PagingThrough : public printing::Pager {
public:
    PagingThrough(printing::RecordingCanvas& recording, QPainter& painter) : recording_(recording), painter_(painter) {}
    bool nextPage() override {
        paint();
        return true;
    }
    void endOfReport() override { paint(); }

private:
    void paint() {
        printing::QtCanvas screen(painter_, printing::CanvasGeometry::screen());
        printing::replay(recording_.currentPage(), screen);
    }
    printing::RecordingCanvas& recording_;
    QPainter& painter_;
};

void preview(benchmark::State& state, const char* name, int movements) {
    const Year& year = yearOf(movements);
    const printing::ReportEntry& entry = *printing::findReport(name);
    platform::SystemClock clock;
    printing::QtTextMetric metric;
    QImage listArea(1920, 810, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&listArea);
        printing::RecordingCanvas canvas(metric);
        PagingThrough pager(canvas, painter);
        printing::PrintState print;
        printing::prepareState(entry, printing::ReportOptions{}, print);
        printing::PageEngine engine(print, canvas, pager, year.year(), clock);
        printing::runReport(entry, engine, printing::ReportOptions{}, 1920, 1080);
    }
}

// What the statement listings cannot draw without: their five section queries, walked
// once. With few lines to draw ("conti", "sottoconti") this is nearly all their time.
void sectionQueries(benchmark::State& state, int movements) {
    const Year& year = yearOf(movements);
    double sum = 0;
    for (auto _ : state) {
        for (const printing::StatementSection& section : printing::statementSections()) {
            const auto query = printing::sectionQuery(year.year().journalPath, section, {});
            const auto rows = storage::runSelect(query.sql, query.params);
            const std::size_t cod = rows->fieldIndex(kr::kCod), income = rows->fieldIndex(kr::kEinnahme);
            for (rows->first(); !rows->eof(); rows->next()) sum += rows->asNumber(income) + double(rows->asText(cod).size());
        }
    }
    benchmark::DoNotOptimize(sum);
}

void registerAll() {
    for (const char* name : kReports) {
        benchmark::RegisterBenchmark((std::string("Pdf/") + name + "/100000").c_str(), report, name, 100'000)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BarePdfLoop/") + name + "/100000").c_str(), bareLoop, name, 100'000)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("SectionQueries/100000", sectionQueries, 100'000)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Preview/giornale/100000", preview, "giornale", 100'000)->Unit(benchmark::kMillisecond);
    for (const char* name : kReports) {
        benchmark::RegisterBenchmark((std::string("Pdf/") + name + "/3000").c_str(), report, name, 3'000)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
