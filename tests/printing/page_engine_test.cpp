#include "support/print_rig.h"
#include "printing/print_text.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quendra;
using namespace quendra::printing;
using quendra::test::PrintRig;

namespace {

std::vector<const DrawItem*> textsOf(const RecordedPage& page) {
    std::vector<const DrawItem*> out;
    for (const DrawItem& item : page.items) {
        if (item.kind == DrawItem::Kind::Text) out.push_back(&item);
    }
    return out;
}

const DrawItem* findText(const RecordedPage& page, const std::string& text) {
    for (const DrawItem& item : page.items) {
        if (item.kind == DrawItem::Kind::Text && item.text == text) return &item;
    }
    return nullptr;
}

std::size_t lineCount(const std::vector<RecordedPage>& pages) {
    std::size_t n = 0;
    for (const auto& page : pages) {
        n += std::count_if(page.items.begin(), page.items.end(),
                           [](const DrawItem& i) { return i.kind == DrawItem::Kind::Line; });
    }
    return n;
}

// The texts of the line at y other than its label, left to right.
std::vector<std::string> figuresOnLine(const RecordedPage& page, int y) {
    std::vector<std::string> out;
    for (const DrawItem& item : page.items) {
        if (item.kind == DrawItem::Kind::Text && item.y1 == y && item.text != "SOMMA" && item.text != "RIPORTO" &&
            item.text != "(dif.:") {
            out.push_back(item.text);
        }
    }
    return out;
}

JournalLine movement(long long number, double income, double expense, std::string text = "Offerte") {
    JournalLine line;
    line.number = number;
    line.date = storage::Date::fromYmd(2026, 2, 1);
    line.cod = " E0101";
    line.codd = " C0101";
    line.text = std::move(text);
    line.income = income;
    line.expense = expense;
    return line;
}

}  // namespace

TEST(PageEngine, PaperGeometryFollowsTheFixedPositionsAndTheBodyFont) {
    PrintRig rig;
    rig.paper();
    // Fifteen "a" at size 55: em 194, width 1601; scale 1440/1601, body font 9.
    EXPECT_EQ(rig.state.bodySize, 9);
    EXPECT_EQ(rig.state.lineStep, -38);
    EXPECT_EQ(rig.state.ruleOffset, -4);
    EXPECT_EQ(rig.state.numberWidth, 264);
    const Columns& c = rig.state.columns;
    EXPECT_EQ((std::vector<int>{c.leftEdge, c.numberEdge, c.dateColumn, c.codeColumn, c.textColumn, c.textEnd,
                                c.incomeEdge, c.expenseEdge}),
              (std::vector<int>{111, 200, 225, 460, 730, 1332, 1596, 1860}));
    EXPECT_EQ(rig.state.y, -150);
    EXPECT_EQ(rig.state.pageCounter, 1);
}

TEST(PageEngine, ScreenGeometryScalesWithTheScreenWidth) {
    PrintRig rig;
    rig.screen(1600, 1000);
    EXPECT_EQ(rig.state.bodySize, 11);
    EXPECT_EQ(rig.state.lineStep, 18);
    EXPECT_EQ(rig.state.ruleOffset, 2);
    EXPECT_EQ(rig.state.numberWidth, 157);
    const Columns& c = rig.state.columns;
    EXPECT_EQ((std::vector<int>{c.leftEdge, c.numberEdge, c.dateColumn, c.codeColumn, c.textColumn, c.textEnd,
                                c.incomeEdge, c.expenseEdge}),
              (std::vector<int>{2, 70, 110, 280, 460, 1206, 1363, 1520}));
    EXPECT_EQ(rig.state.y, 1);
}

TEST(PageEngine, ALargerPrinterFontSettingGivesASmallerBodyFont) {
    PrintRig rig;
    rig.year.settings.printerFont = "30";
    rig.paper();
    EXPECT_EQ(rig.state.bodySize, 4);
    rig.year.settings.printerFont = "nonsense";
    rig.paper();
    EXPECT_EQ(rig.state.bodySize, 9);  // the default 15
}

TEST(PageEngine, SetupZeroesTheSumsExceptForTheJournal) {
    PrintRig rig;
    rig.state.grand = {5, 6};
    rig.state.kind = ReportKind::Journal;
    rig.paper();
    EXPECT_EQ(rig.state.grand.income, 5);
    rig.state.kind = ReportKind::ChartListing;
    rig.paper();
    EXPECT_TRUE(rig.state.grand.isZero());
}

TEST(PrintText, EuroPrintsNothingForZeroAndRoundsHalfToEven) {
    EXPECT_EQ(euro(0), "");
    EXPECT_EQ(euro(-0.0), "");
    EXPECT_EQ(euro(12.5), "12,50");
    EXPECT_EQ(euro(-1234.5), "-1.234,50");
    EXPECT_EQ(euro(0.125), "0,12");
    EXPECT_EQ(euro(0.375), "0,38");
    EXPECT_EQ(euro(999999999999.99), "999.999.999.999,99");
    EXPECT_EQ(movementNumber(1234567), "1.234.567");
    EXPECT_EQ(movementNumber(12), "12");
    EXPECT_EQ(replicate('a', 3), "aaa");
    EXPECT_EQ(replicate('a', 0), "");
}

TEST(PrintText, CuttingKeepsTheLongestPrefixThatFitsAndWholeCharacters) {
    PrintRig rig;
    rig.paper();
    const int six = rig.canvas.textWidth("perché");
    EXPECT_EQ(cutToWidth(rig.canvas, "perché così", six), "perché");
    EXPECT_EQ(cutToWidth(rig.canvas, "perché così", six - 1), "perch");
    EXPECT_EQ(cutToWidth(rig.canvas, "già", rig.canvas.textWidth("già")), "già");
    EXPECT_EQ(cutToWidth(rig.canvas, "già", 0), "");
}

TEST(PageEngine, RowLineLeavesAZeroIncomeEmptyAndCutsALongDescription) {
    PrintRig rig;
    PageEngine& e = rig.paper();
    const std::string longText(200, 'x');
    e.zeilez(movement(1240, 0, 12.5, longText));
    const RecordedPage& page = rig.canvas.currentPage();
    EXPECT_NE(findText(page, "1.240"), nullptr);
    EXPECT_NE(findText(page, "01.02.2026"), nullptr);
    EXPECT_NE(findText(page, "E0101 - (C0101)"), nullptr);
    const DrawItem* expense = findText(page, "12,50");
    ASSERT_NE(expense, nullptr);
    EXPECT_EQ(expense->x1 + rig.canvas.textWidth("12,50"), rig.state.columns.expenseEdge);
    const DrawItem* income = findText(page, "");
    ASSERT_NE(income, nullptr);
    EXPECT_EQ(income->x1, rig.state.columns.incomeEdge);
    const auto texts = textsOf(page);
    const auto description = std::find_if(texts.begin(), texts.end(), [](const DrawItem* i) { return i->text[0] == 'x'; });
    ASSERT_NE(description, texts.end());
    EXPECT_LE(rig.canvas.textWidth((*description)->text), rig.state.columns.textEnd - rig.state.columns.textColumn);
    EXPECT_GT(rig.canvas.textWidth((*description)->text + "x"), rig.state.columns.textEnd - rig.state.columns.textColumn);
    EXPECT_EQ(rig.state.y, -150 - 38);

    JournalLine opening = movement(1, 100, 0, "Saldo");
    opening.opening = 1;
    e.zeilez(opening);
    EXPECT_NE(findText(rig.canvas.currentPage(), "(prima apertura) - Saldo "), nullptr);
    e.zeilez1(movement(2, 7, 0));
    const DrawItem* swapped = findText(rig.canvas.currentPage(), "7,00");
    ASSERT_NE(swapped, nullptr);
    EXPECT_EQ(swapped->x1 + rig.canvas.textWidth("7,00"), rig.state.columns.expenseEdge);
}

TEST(PageEngine, PaperJournalPageEndsWithSommaAndTheNextBeginsWithRiporto) {
    PrintRig rig;
    rig.state.kind = ReportKind::Journal;
    PageEngine& e = rig.paper();
    e.drucktitel();
    e.kopf();
    int rows = 0;
    while (rig.canvas.pages().size() < 3) {
        rig.state.subAccount.add(10, 4);
        e.zeilez(movement(++rows, 10, 4));
    }
    const auto& pages = rig.canvas.pages();
    // Page 1: its closing "SOMMA" line and "- 1 -" 5 mm below the bottom margin.
    const DrawItem* number = findText(pages[0], "- 1 -");
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->x1, 950);
    EXPECT_EQ(number->y1, -2750);
    const DrawItem* somma = findText(pages[0], "SOMMA");
    ASSERT_NE(somma, nullptr);
    EXPECT_EQ(somma->x1, rig.state.columns.textColumn);
    EXPECT_NE(findText(pages[1], "- 2 -"), nullptr);
    // Page 2 begins with the title, the header and "RIPORTO" with the same figures.
    const auto texts = textsOf(pages[1]);
    ASSERT_GE(texts.size(), 8u);
    EXPECT_EQ(texts[0]->text, "Giornale della parrocchia: San Vito, Borgo Alto - esercizio 2026/01");
    EXPECT_EQ(texts[0]->y1, -150);
    EXPECT_EQ(texts[1]->text, "  No");
    const DrawItem* riporto = findText(pages[1], "RIPORTO");
    ASSERT_NE(riporto, nullptr);
    EXPECT_EQ(figuresOnLine(pages[0], somma->y1), figuresOnLine(pages[1], riporto->y1));
    EXPECT_EQ(figuresOnLine(pages[1], riporto->y1).size(), 3u);
    EXPECT_EQ(rig.state.pageCounter, 3);
    EXPECT_EQ(rig.state.carryLabel, "RIPORTO");
}

TEST(PageEngine, ScreenPageWaitsAndEsciStopsAllDrawing) {
    PrintRig rig;
    rig.state.kind = ReportKind::ChartListing;
    rig.pager.answers = {true, false};
    PageEngine& e = rig.screen(1600, 1000);
    for (int i = 0; i < 200; ++i) {
        if (e.contr()) {
            rig.canvas.drawText(1, rig.state.y, "riga " + std::to_string(i));
        }
        rig.state.y += e.zeile();
    }
    EXPECT_EQ(rig.pager.pageWaits, 2);
    EXPECT_TRUE(rig.state.stopped());
    // A screen page is three quarters of the height: lines at y 1 .. 750.
    ASSERT_EQ(rig.canvas.pages().size(), 2u);
    EXPECT_EQ(textsOf(rig.canvas.pages()[0]).size(), 42u);
    EXPECT_EQ(textsOf(rig.canvas.pages()[1]).size(), 42u);
    e.zeilets();
    e.finish();
    EXPECT_EQ(rig.pager.endWaits, 0);
    EXPECT_EQ(textsOf(rig.canvas.pages()[1]).size(), 42u);
    EXPECT_TRUE(rig.canvas.pages().back().items.empty());
}

TEST(PageEngine, ScreenJournalCarriesRiportoAtTheFootAndUebertragAtTheHead) {
    PrintRig rig;
    rig.state.kind = ReportKind::Journal;
    PageEngine& e = rig.screen(1600, 1000);
    while (rig.pager.pageWaits == 0) {
        rig.state.subAccount.add(1, 0);
        e.zeilez(movement(1, 1, 0));
    }
    const auto& pages = rig.canvas.pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(findText(pages[0], "RIPORTO"), nullptr);
    EXPECT_NE(findText(pages[1], "ÜBERTRAG"), nullptr);
    EXPECT_EQ(textsOf(pages[1])[0]->text, "Giornale della parrocchia: San Vito, Borgo Alto - esercizio 2026/01");
    e.finish();
    EXPECT_EQ(rig.pager.endWaits, 1);
}

TEST(PageEngine, StatementPagesOnScreenRepeatTheYearCaption) {
    PrintRig rig;
    rig.state.kind = ReportKind::AllMovements;
    PageEngine& e = rig.screen(1600, 1000);
    e.Kopfformulare();
    while (rig.pager.pageWaits == 0) e.zeilez(movement(1, 1, 0));
    const auto& pages = rig.canvas.pages();
    ASSERT_EQ(pages.size(), 2u);
    for (const auto& page : pages) {
        const auto texts = textsOf(page);
        EXPECT_EQ(texts[0]->text, "QUENDRA: San Vito (Borgo Alto) - 2026/01");
        EXPECT_TRUE(texts[0]->font.bold);
        EXPECT_EQ(texts[1]->text, "    (Data: 14.03.2026 - 10:00:00)");
    }
}

TEST(PageEngine, WithoutFramesNoHeaderAndNoRulesButSumLinesStay) {
    PrintRig rig;
    rig.year.settings.frameLines = "0";
    rig.state.kind = ReportKind::AllMovements;
    rig.state.cashBoxMode = true;
    PageEngine& e = rig.paper();
    const int y = rig.state.y;
    e.kopf();
    EXPECT_EQ(rig.state.y, y);
    rig.state.subAccount = {100, 30.5};
    rig.state.grand = {100, 30.5};
    e.zeilez(movement(1, 100, 0));
    e.zeileus();
    e.zeilets();
    e.ubertrag();
    const auto& page = rig.canvas.currentPage();
    EXPECT_EQ(findText(page, "  No"), nullptr);
    EXPECT_NE(findText(page, "Somma sottoconti:"), nullptr);
    EXPECT_NE(findText(page, "TOTALE: "), nullptr);
    EXPECT_NE(findText(page, "69,50)"), nullptr);
    EXPECT_NE(findText(page, "30,50"), nullptr);
    // Only the rule above "Somma sottoconti:" of the movement listing.
    EXPECT_EQ(lineCount(rig.canvas.pages()), 1u);

    PrintRig framed;
    framed.state.kind = ReportKind::AllMovements;
    PageEngine& f = framed.paper();
    f.kopf();
    f.zeilez(movement(1, 100, 0));
    f.zeileus();
    EXPECT_EQ(lineCount(framed.canvas.pages()), 7u + 2u + 7u + 1u + 5u);
}

TEST(PageEngine, HeadingsLookUpTheChartTexts) {
    PrintRig rig({{.cod = " A0101", .text = "Stipendi", .texth = "Personale"},
                  {.cod = " A0102", .text = "Contributi", .texth = "Personale"},
                  {.cod = "HA0100", .text = "Personale", .texth = "Personale"}});
    rig.state.kind = ReportKind::AccountsAndSubs;
    PageEngine& e = rig.paper();
    EXPECT_EQ(e.codtext(" A01"), "Personale");
    EXPECT_EQ(e.codtext1(" A01"), "Stipendi");
    EXPECT_EQ(e.codtext1(" Z"), "Personale");  // the next code in order: the main account
    e.zeilehk(" A01");
    e.zeileuk(" A0102");
    const auto texts = textsOf(rig.canvas.currentPage());
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text, "(A01) - conto: Personale");
    EXPECT_EQ(texts[0]->font.size, 11);
    EXPECT_EQ(texts[1]->text, "(A0102) - sottoconto: Contributi");
    EXPECT_EQ(rig.canvas.font().size, 9);
}
