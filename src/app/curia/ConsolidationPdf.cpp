#include "ConsolidationPdf.h"

#include "storage/amount_format.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <array>

namespace quendra::curia {

namespace {

// Units of 0.1 mm on A4 with 15-mm margins.
constexpr int kWidth = 1800;
constexpr int kHeight = 2670;
constexpr int kLine = 52;

std::string amount(double value) { return storage::formatNumber(value, storage::Picture::Amount); }

class SummaryPage {
public:
    explicit SummaryPage(QPdfWriter& writer) : painter_(&writer) {}

    bool active() const { return painter_.isActive(); }

    // Left-aligned from x, or right-aligned ending at x; cut short with "…" past width.
    void text(int x, const std::string& text, int size, bool bold, bool right = false, int width = kWidth) {
        QFont font("Arial");
        font.setPixelSize(size);
        font.setBold(bold);
        painter_.setFont(font);
        const QString shown = painter_.fontMetrics().elidedText(QString::fromStdString(text), Qt::ElideRight, width);
        const QRect box = right ? QRect(x - width, y_ - kLine, width, kLine) : QRect(x, y_ - kLine, width, kLine);
        painter_.drawText(box, (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom, shown);
    }

    void row(const std::string& name, const std::string& count, const KeyFigures& f, bool bold) {
        newLineOrPage();
        text(0, name, 34, bold, false, 440);
        const std::array<std::string, 6> cells = {count, std::to_string(f.movements), amount(f.income),
                                                  amount(f.expense), amount(f.liquidityYearEnd), amount(f.net)};
        for (std::size_t c = 0; c < cells.size(); ++c) text(columnEnd(c), cells[c], 34, bold, true, 230);
    }

    void rule() { painter_.drawLine(0, y_ + 12, kWidth, y_ + 12); }
    void skip(int lines) { y_ += lines * kLine; }
    void newLineOrPage() {
        y_ += kLine;
        if (y_ > kHeight) {
            static_cast<QPdfWriter*>(painter_.device())->newPage();
            y_ = 2 * kLine;
        }
    }

    static int columnEnd(std::size_t column) {
        constexpr std::array<int, 6> ends = {680, 860, 1110, 1340, 1570, 1800};
        return ends[column];
    }

private:
    QPainter painter_;
    int y_ = kLine;
};

}  // namespace

std::string writeConsolidationPdf(const Consolidation& c, const std::filesystem::path& target) {
    const std::filesystem::path partial = target.string() + ".part";
    {
        QPdfWriter writer(QString::fromStdString(partial.string()));
        writer.setResolution(254);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        writer.setTitle(QString::fromStdString("Rendiconto consolidato " + c.year));
        SummaryPage page(writer);
        if (!page.active()) return "Impossibile scrivere il file " + target.string();
        page.text(0, "DIOCESI DI VARNELIA", 42, true);
        page.skip(2);
        page.text(0, "Rendiconto consolidato delle parrocchie - anno " + c.year, 50, true);
        page.skip(2);
        // Two heading lines, so that the amounts' columns stay narrow.
        const std::array<std::pair<const char*, const char*>, 6> headings = {{
            {"", "Parrocchie"}, {"", "Movimenti"}, {"", "ENTRATE"}, {"", "USCITE"},
            {"Liquidità", "al 31/12"}, {"ATTIVA -", "PASSIVA"}}};
        for (std::size_t i = 0; i < headings.size(); ++i) {
            page.text(SummaryPage::columnEnd(i), headings[i].first, 30, true, true, 228);
        }
        page.newLineOrPage();
        page.text(0, "Decanato", 30, true);
        for (std::size_t i = 0; i < headings.size(); ++i) {
            page.text(SummaryPage::columnEnd(i), headings[i].second, 30, true, true, 228);
        }
        page.rule();
        for (const DeanerySum& d : deanerySums(c)) {
            page.row(d.deanery.empty() ? "(senza decanato)" : d.deanery, std::to_string(d.end - d.first), d.sum, false);
        }
        page.rule();
        page.row("TOTALE DIOCESI", std::to_string(c.parishes.size()), sumOf(c.parishes, 0, c.parishes.size()), true);
        page.skip(2);
        page.newLineOrPage();
        page.text(0, "Avvisi: " + std::to_string(c.warnings.size()) + "    Parrocchie del registro senza invio: " +
                         std::to_string(c.missing.size()) + "    (elenchi completi nella cartella di lavoro)",
                  30, false);
    }
    std::error_code error;
    std::filesystem::rename(partial, target, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return "Impossibile scrivere il file " + target.string();
    }
    return {};
}

}  // namespace quendra::curia
