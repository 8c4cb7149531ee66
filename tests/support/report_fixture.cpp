#include "support/report_fixture.h"

#include <algorithm>
#include <map>

namespace quendra::test {

std::vector<ChartRow> reportChartRows() {
    return {
        {.cod = " A0101", .text = "Luce", .texth = "Utenze", .texta = "Uscite"},
        {.cod = " A0102", .text = "Gas", .texth = "Utenze", .texta = "Uscite"},
        {.cod = " A0201", .text = "Manutenzione", .texth = "Spese ordinarie", .texta = "Uscite"},
        {.cod = " C0101", .text = "Cassa parrocchiale", .texth = "Cassa", .texta = "Attiva"},
        {.cod = " C0201", .text = "Banca Alfa", .texth = "Banche", .texta = "Attiva"},
        {.cod = " C0501", .text = "Titoli di Stato", .texth = "Titoli", .texta = "Attiva"},
        {.cod = " E0101", .text = "Offerte", .texth = "Offerte e collette", .texta = "Entrate"},
        {.cod = " E0102", .text = "Collette", .texth = "Offerte e collette", .texta = "Entrate"},
        {.cod = " P0201", .text = "Mutuo Banca Alfa", .texth = "Debiti verso banche", .texta = "Passiva"},
    };
}

void ReportTest::runReport(printing::ReportFunction report, const std::vector<Movement>& rows,
                           const printing::ReportOptions& options, bool onScreen) {
    makeJournal(rig_.year.journalPath, rows);
    printing::PageEngine& engine = onScreen ? rig_.screen() : rig_.paper();
    report(engine, options);
    engine.finish();
}

std::vector<std::vector<std::string>> textLines(const printing::RecordedPage& page) {
    std::vector<int> order;
    std::map<int, std::vector<const printing::DrawItem*>> byY;
    for (const printing::DrawItem& item : page.items) {
        if (item.kind != printing::DrawItem::Kind::Text) continue;
        if (item.text.empty()) continue;  // a zero amount
        if (!byY.contains(item.y1)) order.push_back(item.y1);
        byY[item.y1].push_back(&item);
    }
    std::vector<std::vector<std::string>> lines;
    for (const int y : order) {
        auto items = byY[y];
        std::stable_sort(items.begin(), items.end(), [](auto* a, auto* b) { return a->x1 < b->x1; });
        std::vector<std::string> line;
        for (const auto* item : items) line.push_back(item->text);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> joinedLines(const std::vector<printing::RecordedPage>& pages) {
    std::vector<std::string> out;
    for (const auto& page : pages) {
        for (const auto& line : textLines(page)) {
            std::string joined;
            for (const auto& text : line) joined += (joined.empty() ? "" : " | ") + text;
            out.push_back(joined);
        }
    }
    return out;
}

std::vector<std::string> linesWith(const std::vector<printing::RecordedPage>& pages, const std::string& text) {
    std::vector<std::string> out;
    for (const auto& line : joinedLines(pages)) {
        if (line.find(text) != std::string::npos) out.push_back(line);
    }
    return out;
}

}  // namespace quendra::test
