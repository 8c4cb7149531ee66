#include "printing/annual_report.h"

#include "printing/property_form.h"
#include "printing/report_catalog.h"
#include "printing/summary_form.h"
#include "printing/title_page.h"

#include "support/parish_year.h"
#include "support/print_rig.h"

#include <gtest/gtest.h>

#include <deque>
#include <regex>

namespace quendra::printing {
namespace {

using test::expense;
using test::income;
using test::Movement;
using test::opening;
using test::PrintRig;

const std::vector<Movement> kYear = {
    opening(" C0101", 1000),
    opening(" C0201", 5000),
    opening(" P0101", 10000),
    opening(" C0501", -3000),
    income(" E0101", " C0101", 500),
    income(" E0102", " C0101", 120),
    income(" E0201", " C0201", 1200.5),
    expense(" A0101", " C0201", 200.25),
    expense(" A0102", " C0101", 35),
    expense(" A0201", " C0201", 410),
    expense(" P0101", " C0201", 1000),
    expense(" C0501", " C0201", 4000),
    expense(" C0201", " C0101", 300),
};

std::vector<std::string> textsOf(const RecordedPage& page) {
    std::vector<std::string> out;
    for (const DrawItem& item : page.items) {
        if (item.kind == DrawItem::Kind::Text) out.push_back(item.text);
    }
    return out;
}

// Whether a text on the page starts with start (labels are dotted).
bool hasText(const RecordedPage& page, const std::string& start) {
    const auto texts = textsOf(page);
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.rfind(start, 0) == 0; });
}

// The texts drawn on the line of the text that starts with label.
std::vector<std::string> lineOf(const std::vector<RecordedPage>& pages, const std::string& label) {
    for (const RecordedPage& page : pages) {
        for (const DrawItem& item : page.items) {
            if (item.kind != DrawItem::Kind::Text || item.text.rfind(label, 0) != 0) continue;
            std::vector<std::string> line;
            for (const DrawItem& other : page.items) {
                if (other.kind == DrawItem::Kind::Text && other.y1 == item.y1 && &other != &item)
                    line.push_back(other.text);
            }
            return line;
        }
    }
    return {"(no line " + label + ")"};
}

class AnnualReport : public ::testing::Test {
protected:
    AnnualReport() { rig_.state.kind = ReportKind::AnnualReport; }

    void year(const std::vector<Movement>& rows) { test::makeNumberedJournal(rig_.year.journalPath, rows); }

    PrintRig rig_{test::parishAccounts()};
};

TEST_F(AnnualReport, TitlePageOnPaper) {
    year(kYear);
    drawTitlePage(rig_.paper());
    ASSERT_EQ(rig_.canvas.pages().size(), 1u);
    test::expectGolden("title_page_paper.txt", rig_.dump());
}

TEST_F(AnnualReport, TitlePageTakesTwoScreenPages) {
    year(kYear);
    drawTitlePage(rig_.screen());
    EXPECT_EQ(rig_.pager.pageWaits, 1);
    const auto& pages = rig_.canvas.pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(hasText(pages[0], "QUENDRA"));
    EXPECT_TRUE(hasText(pages[0], "Decanato: DECANATO EST"));
    EXPECT_TRUE(hasText(pages[1], "per l'anno 2026"));
    EXPECT_TRUE(hasText(pages[1], "data"));
}

TEST_F(AnnualReport, SummaryFormOnPaper) {
    year(kYear);
    drawSummaryForm(rig_.paper(), SummaryForm::Summary);
    test::expectGolden("summary_form_paper.txt", rig_.dump());
}

TEST_F(AnnualReport, DetailsFormOnPaper) {
    year(kYear);
    drawSummaryForm(rig_.paper(), SummaryForm::Details);
    test::expectGolden("details_form_paper.txt", rig_.dump());
}

// Wherever the page ends, the closing total comes with the two sections before it.
TEST(AnnualReportPages, TheDetailsFormsClosingLinesNeverStandAlone) {
    for (int bottom = -1400; bottom >= -2800; bottom -= 35) {
        PrintRig rig{test::parishAccounts()};
        rig.state.kind = ReportKind::AnnualReport;
        test::makeNumberedJournal(rig.year.journalPath, kYear);
        rig.year.settings.bottomMargin = bottom;
        drawSummaryForm(rig.paper(), SummaryForm::Details);
        const RecordedPage& last = rig.canvas.pages().back();
        EXPECT_TRUE(hasText(last, "Attività (Titoli ecc.)")) << "bottom " << bottom;
        EXPECT_TRUE(hasText(last, "TOTALE stato patrimoniale")) << "bottom " << bottom;
    }
}

TEST_F(AnnualReport, PropertyFormOnPaper) {
    year(kYear);
    drawPropertyForm(rig_.paper());
    test::expectGolden("property_form_paper.txt", rig_.dump());
}

TEST_F(AnnualReport, PropertyFormOfAYearWithoutMovements) {
    year({});
    drawPropertyForm(rig_.paper());
    test::expectGolden("property_form_empty_year.txt", rig_.dump());
}

TEST_F(AnnualReport, PropertyFormBeginsTheGridAndTheReservedBlockOnNewScreenPages) {
    year(kYear);
    drawPropertyForm(rig_.screen());
    EXPECT_EQ(rig_.pager.pageWaits, 2);
    const auto& pages = rig_.canvas.pages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_TRUE(hasText(pages[0], "Ci sono variazioni allo stato immobiliare?   "));
    EXPECT_EQ(textsOf(pages[1]).front(), "B. Capitali");
    EXPECT_EQ(textsOf(pages[2]).front(), "Riservato alla Velmora");
}

TEST_F(AnnualReport, SummaryOfAYearWithOnlyOpeningRows) {
    year({opening(" C0101", 1000), opening(" C0201", 2500), opening(" C0501", -3000), opening(" P0101", 10000)});
    drawSummaryForm(rig_.paper(), SummaryForm::Summary);
    const auto& pages = rig_.canvas.pages();
    EXPECT_EQ(lineOf(pages, "SOMMA").back(), "-3.500,00");
    // SALDO prints its line without an amount.
    EXPECT_TRUE(lineOf(pages, "SALDO entrate/uscite").empty());
    EXPECT_TRUE(lineOf(pages, "Entrate").empty());
    EXPECT_EQ(lineOf(pages, "TOTALE liquidità"), std::vector<std::string>{"3.500,00"});
    EXPECT_EQ(lineOf(pages, "TOTALE stato patrimoniale"), std::vector<std::string>{"-3.500,00"});
}

TEST_F(AnnualReport, LongDetailsFormRunsOverPagesAndStopsWithEsci) {
    std::vector<Movement> rows;
    for (int i = 0; i < 60; ++i) {
        const std::string sub = (i % 2 ? " E0101" : " E0102");
        rows.push_back(income(i < 30 ? sub : " E0201", " C0101", 10 + i));
        rows.push_back(expense(i % 3 ? " A0101" : " A0201", " C0101", 5 + i));
    }
    year(rows);
    rig_.pager.answers = {false};
    drawSummaryForm(rig_.screen(1600, 400), SummaryForm::Details);
    EXPECT_TRUE(rig_.state.stopped());
    EXPECT_EQ(rig_.pager.pageWaits, 1);
    ASSERT_EQ(rig_.canvas.pages().size(), 1u);
    EXPECT_FALSE(hasText(rig_.canvas.pages()[0], "TOTALE stato patrimoniale"));
}

// A print window that answers the print dialog from a script.
class ScriptedHost : public AnnualReportHost {
public:
    explicit ScriptedHost(PrintRig& rig, OutputTarget chosen) : rig_(rig), chosen_(chosen) {}

    PageEngine* startOutput() override {
        ++starts;
        if (chosen_ == OutputTarget::Screen) return &rig_.screen();
        const bool accept = dialogAnswers.empty() || dialogAnswers.front();
        if (!dialogAnswers.empty()) dialogAnswers.pop_front();
        if (!accept) {
            rig_.state.target = OutputTarget::Cancelled;
            return nullptr;
        }
        return &rig_.paper();
    }
    void itemDone() override { ++itemsDone; }
    void endDocument() override {
        ++documentsEnded;
        pagesAtEnd = rig_.canvas.pages().size();
    }
    void transmission() override {
        ++transmissions;
        transmissionAfterDocument = documentsEnded > 0;
    }

    std::deque<bool> dialogAnswers;
    int starts = 0, itemsDone = 0, documentsEnded = 0, transmissions = 0;
    std::size_t pagesAtEnd = 0;
    bool transmissionAfterDocument = false;

private:
    PrintRig& rig_;
    OutputTarget chosen_;
};

TEST_F(AnnualReport, AllModulesOnPaperAreOneJobWithPageNumbers) {
    year(kYear);
    rig_.state.target = OutputTarget::Printer;
    ScriptedHost host(rig_, OutputTarget::Printer);
    runAnnualReport(rig_.state, AnnualItem::All, host);

    EXPECT_EQ(host.starts, 1);
    EXPECT_EQ(host.documentsEnded, 1);
    EXPECT_EQ(host.transmissions, 1);
    EXPECT_TRUE(host.transmissionAfterDocument);
    test::expectGolden("annual_report_paper.txt", rig_.dump());
    const auto& pages = rig_.canvas.pages();
    // The detail form runs over two pages.
    ASSERT_EQ(pages.size(), 5u);
    EXPECT_TRUE(hasText(pages[0], "QUENDRA"));
    EXPECT_FALSE(hasText(pages[0], "- 1 -"));
    EXPECT_TRUE(hasText(pages[1], "(Modulo 1 di 4)"));
    EXPECT_TRUE(hasText(pages[1], "- 2 -"));
    EXPECT_TRUE(hasText(pages[2], "(Modulo 2 di 4)"));
    EXPECT_TRUE(hasText(pages[2], "- 3 -"));
    EXPECT_TRUE(hasText(pages[3], "(Modulo 3 di 4)"));
    EXPECT_TRUE(hasText(pages[3], "- 4 -"));
    EXPECT_TRUE(hasText(pages[4], "TOTALE stato patrimoniale"));
    EXPECT_TRUE(hasText(pages[4], "- 5 -"));
}

TEST_F(AnnualReport, CancelledDialogSkipsTheItemAndTheNextItemAsksAgain) {
    year(kYear);
    rig_.state.target = OutputTarget::Printer;
    ScriptedHost host(rig_, OutputTarget::Printer);
    host.dialogAnswers = {false, true};
    runAnnualReport(rig_.state, AnnualItem::All, host);

    EXPECT_EQ(host.starts, 2);
    EXPECT_EQ(host.documentsEnded, 1);
    const auto& pages = rig_.canvas.pages();
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_TRUE(hasText(pages[0], "(Modulo 1 di 4)"));
    EXPECT_TRUE(hasText(pages[0], "- 1 -"));
    EXPECT_TRUE(hasText(pages[2], "(Modulo 3 di 4)"));
    EXPECT_TRUE(hasText(pages[3], "- 4 -"));
}

TEST_F(AnnualReport, TransmissionAloneOnPaperStartsNoPrintJob) {
    year(kYear);
    rig_.state.target = OutputTarget::Printer;
    ScriptedHost host(rig_, OutputTarget::Printer);
    runAnnualReport(rig_.state, AnnualItem::Transmission, host);
    EXPECT_EQ(host.starts, 0);
    EXPECT_EQ(host.documentsEnded, 0);
    EXPECT_EQ(host.transmissions, 1);
    EXPECT_TRUE(rig_.canvas.pages().back().items.empty());
}

TEST_F(AnnualReport, AllModulesOnScreenEndEachFormWithFineListaThenTransmit) {
    year(kYear);
    ScriptedHost host(rig_, OutputTarget::Screen);
    runAnnualReport(rig_.state, AnnualItem::All, host);
    EXPECT_EQ(host.starts, 4);
    EXPECT_EQ(rig_.pager.endWaits, 4);
    EXPECT_EQ(host.itemsDone, 4);
    EXPECT_EQ(host.documentsEnded, 0);
    EXPECT_EQ(host.transmissions, 1);
}

TEST_F(AnnualReport, EsciEndsOnlyTheFormOnView) {
    year(kYear);
    ScriptedHost host(rig_, OutputTarget::Screen);
    rig_.pager.answers = {false};  // "&esci" on the title page's first screen page
    runAnnualReport(rig_.state, AnnualItem::All, host);
    EXPECT_EQ(rig_.pager.endWaits, 3);
    EXPECT_EQ(host.itemsDone, 4);
}

TEST_F(AnnualReport, QuendraReportNamesRunTheForms) {
    year(kYear);
    const ReportEntry* whole = findReport("bilancio");
    ASSERT_NE(whole, nullptr);
    rig_.state.target = OutputTarget::Pdf;
    runReport(*whole, rig_.engine, {});
    EXPECT_EQ(rig_.dump(), [&] {
        PrintRig other{test::parishAccounts()};
        test::makeNumberedJournal(other.year.journalPath, kYear);
        other.state.target = OutputTarget::Printer;
        ScriptedHost host(other, OutputTarget::Printer);
        runAnnualReport(other.state, AnnualItem::All, host);
        return other.dump();
    }());
    for (const char* name : {"frontespizio", "riepilogo", "patrimoniale", "dettagli"}) {
        const ReportEntry* entry = findReport(name);
        ASSERT_NE(entry, nullptr);
        EXPECT_NE(entry->run, nullptr) << name;
    }
}

// The fields' extremes, -99.999.999,99 and 999.999.999,99, and the sums they make.
const std::vector<Movement> kLargeYear = {
    opening(" C0101", 999999999.99),
    opening(" C0201", -99999999.99),
    income(" E0101", " C0101", 999999999.99),
    income(" E0102", " C0201", 123456789.12),
    expense(" A0101", " C0201", 999999999.99),
    expense(" A0102", " C0101", 123456789.12),
    expense(" C0501", " C0201", 99999999.99),
};

// Amounts that touch a rule or another text of their line, as "x: amount | other".
std::vector<std::string> crowdedAmounts(const std::vector<RecordedPage>& pages, const TextMetric& metric) {
    static const std::regex amount(R"(-?[0-9]{1,3}(\.[0-9]{3})*,[0-9]{2}\)?)");
    std::vector<std::string> out;
    for (const RecordedPage& page : pages) {
        for (const DrawItem& a : page.items) {
            if (a.kind != DrawItem::Kind::Text || !std::regex_match(a.text, amount)) continue;
            const int left = a.x1;
            const int right = a.x1 + metric.width(a.font, a.text);
            for (const DrawItem& b : page.items) {
                if (&b == &a) continue;
                if (b.kind == DrawItem::Kind::Text && b.y1 == a.y1 && !b.text.empty()) {
                    const int bRight = b.x1 + metric.width(b.font, b.text);
                    if (b.x1 <= right && bRight >= left) out.push_back(a.text + " | " + b.text);
                } else if (b.kind == DrawItem::Kind::Line && b.x1 == b.x2 && std::min(b.y1, b.y2) < a.y1 &&
                           std::max(b.y1, b.y2) > a.y1 && b.x1 >= left && b.x1 <= right) {
                    out.push_back(a.text + " | rule at " + std::to_string(b.x1));
                }
            }
        }
    }
    return out;
}

TEST(LargeAmounts, EveryAmountStaysClearOfRulesLabelsAndNeighbours) {
    for (const OutputTarget target : {OutputTarget::Printer, OutputTarget::Screen}) {
        for (const char* name : {"giornale", "movimenti", "sottoconti", "conti", "liquidita", "estratto", "riepilogo",
                                 "dettagli", "patrimoniale"}) {
            PrintRig rig{test::parishAccounts()};
            test::makeNumberedJournal(rig.year.journalPath, kLargeYear);
            const ReportEntry& entry = *findReport(name);
            ReportOptions options;
            options.details = true;
            if (entry.accountChoiceMode) {
                options.accounts = {"A01", "E01"};
            } else if (entry.cashBoxMode) {
                options.cashBoxes = {"C0101", "C0201"};
            }
            prepareState(entry, options, rig.state);
            rig.state.target = target;
            if (target == OutputTarget::Screen) rig.metric.setUnitsPerPoint(FixedTextMetric::kScreenUnitsPerPoint);
            runReport(entry, rig.engine, options, 1600, 1000);
            EXPECT_EQ(crowdedAmounts(rig.canvas.pages(), rig.metric), std::vector<std::string>{})
                << name << (target == OutputTarget::Screen ? " on screen" : " on paper");
            if (target == OutputTarget::Printer && entry.name == "dettagli") {
                test::expectGolden("details_form_large_amounts.txt", rig.dump());
            }
            if (target == OutputTarget::Printer && entry.name == "giornale") {
                test::expectGolden("journal_large_amounts.txt", rig.dump());
            }
        }
    }
}

}  // namespace
}  // namespace quendra::printing
