#include "printing/chart_listing.h"

#include "printing/report_catalog.h"
#include "support/print_rig.h"

#include <gtest/gtest.h>

using namespace quendra;
using namespace quendra::printing;

namespace {

std::vector<test::ChartRow> smallChart() {
    return {
        {.cod = " E0101", .text = "Offerte domenicali", .texth = "Offerte", .texta = "Entrate"},
        {.cod = " A0101", .text = "Stipendi", .texth = "Personale", .texta = "Uscite"},
        {.cod = " A0102", .text = "Contributi", .texth = "Personale", .texta = "Uscite"},
        {.cod = " A0201", .text = "Energia elettrica", .texth = "Utenze", .texta = "Uscite"},
        {.cod = " C0101", .text = "Cassa parrocchiale", .texth = "Cassa", .texta = "Attività"},
        {.cod = " V0101", .text = "Memoria", .texth = "Conti d'ordine", .texta = "Varie"},
        {.cod = "HA0100", .text = "Personale", .texth = "Personale", .texta = "Uscite"},
        {.cod = "TA", .text = "tipo", .k = "10"},
    };
}

std::vector<std::string> boldTexts(const std::vector<RecordedPage>& pages) {
    std::vector<std::string> out;
    for (const auto& page : pages)
        for (const auto& item : page.items)
            if (item.kind == DrawItem::Kind::Text && item.font.bold) out.push_back(item.text);
    return out;
}

// The rig's chart replaced by the Italian standard chart.
void useStandardChart(test::PrintRig& rig) {
    std::filesystem::remove(rig.year.chartPath);
    std::filesystem::remove(rig.year.chartPath.parent_path() / "kw202601.mdx");
    test::loadStandardChart("it", rig.year.chartPath);
}

void runListing(test::PrintRig& rig) {
    const ReportEntry* entry = findReport("piano");
    ASSERT_NE(entry, nullptr);
    prepareState(*entry, {}, rig.state);
    runReport(*entry, rig.engine, {}, 1600, 1000);
}

}  // namespace

TEST(ChartListing, PaperListingMatchesTheGoldenPage) {
    test::PrintRig rig(smallChart());
    rig.state.target = OutputTarget::Pdf;
    runListing(rig);
    test::expectGolden("chart_listing_paper.txt", rig.dump());
}

TEST(ChartListing, ClassesComeInCodeOrderWithUpperCaseHeadings) {
    test::PrintRig rig(smallChart());
    rig.state.target = OutputTarget::Printer;
    runListing(rig);
    EXPECT_EQ(boldTexts(rig.canvas.pages()),
              (std::vector<std::string>{"Ort: Borgo Alto", "Parrocchia: SAN VITO", "Piano conti 2026/01", "USCITE",
                                        "A01 Personale", "A02 Utenze", "ATTIVITÀ", "C01 Cassa", "ENTRATE",
                                        "E01 Offerte", "VARIE", "V01 Conti d'ordine"}));
}

TEST(ChartListing, StandardChartRunsOverPagesWithNumbersAndWaitsOnScreen) {
    test::PrintRig paper;
    useStandardChart(paper);
    paper.state.target = OutputTarget::Printer;
    runListing(paper);
    const auto& pages = paper.canvas.pages();
    ASSERT_GE(pages.size(), 3u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const DrawItem& last = pages[i].items.back();
        EXPECT_EQ(last.text, "- " + std::to_string(i + 1) + " -");
        for (const auto& item : pages[i].items) {
            if (&item != &last) {
                EXPECT_GE(item.y1, paper.state.bottom + paper.state.lineStep) << item.text;
            }
        }
    }

    test::PrintRig screen;
    useStandardChart(screen);
    screen.pager.answers = {true, false};
    runListing(screen);
    EXPECT_EQ(screen.pager.pageWaits, 2);
    EXPECT_EQ(screen.pager.endWaits, 0);

    test::PrintRig toTheEnd;
    runListing(toTheEnd);
    EXPECT_EQ(toTheEnd.pager.endWaits, 1);
}
