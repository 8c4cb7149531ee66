#include "printing/annual_report.h"

#include "printing/property_form.h"
#include "printing/summary_form.h"
#include "printing/title_page.h"

namespace quendra::printing {

namespace {

// The next form of a report printed as one job: a new sheet, numbered under the page it
// closes unless that is the title page.
void nextSheet(PageEngine& engine, AnnualItem item) {
    PrintState& s = engine.state();
    s.y = s.top;
    if (item != AnnualItem::Summary) engine.drawPageNumber();
    ++s.pageCounter;
    engine.canvas().newPage();
}

bool onPaper(OutputTarget target) { return target == OutputTarget::Printer || target == OutputTarget::Pdf; }

}  // namespace

std::string_view annualItemReport(AnnualItem item) {
    constexpr std::array<std::string_view, 6> kNames = {"bilancio", "frontespizio", "riepilogo", "patrimoniale",
                                                        "dettagli", ""};
    return kNames[static_cast<std::size_t>(item)];
}

void drawAnnualItem(PageEngine& engine, AnnualItem item) {
    switch (item) {
    case AnnualItem::TitlePage:
        drawTitlePage(engine);
        break;
    case AnnualItem::Summary:
        drawSummaryForm(engine, SummaryForm::Summary);
        break;
    case AnnualItem::Property:
        drawPropertyForm(engine);
        break;
    case AnnualItem::Details:
        drawSummaryForm(engine, SummaryForm::Details);
        break;
    case AnnualItem::All:
    case AnnualItem::Transmission:
        break;
    }
}

void runAnnualReport(PrintState& s, AnnualItem chosen, AnnualReportHost& host) {
    s.paging = PagingState::Waiting;
    const int first = chosen == AnnualItem::All ? 1 : static_cast<int>(chosen);
    const int last = chosen == AnnualItem::All ? 5 : static_cast<int>(chosen);
    PageEngine* document = nullptr;  // the print job in progress
    bool transmissionAfterDocument = false;
    for (int i = first; i <= last; ++i) {
        const auto item = static_cast<AnnualItem>(i);
        if (item == AnnualItem::Transmission) {
            if (onPaper(s.target)) {
                // Never inside a print job: after it has ended, or at once when none began.
                transmissionAfterDocument = true;
            } else {
                host.transmission();
            }
            continue;
        }
        // Within one job the title page's document carries the forms; a cancelled print
        // dialog leaves no job, and the next item asks again.
        PageEngine* engine = nullptr;
        if (document && chosen == AnnualItem::All) {
            engine = document;
            nextSheet(*engine, item);
        } else {
            engine = host.startOutput();
            if (!engine) continue;
            if (onPaper(s.target)) document = engine;
        }
        drawAnnualItem(*engine, item);
        if (!s.onPaper()) {
            engine->finish();
            host.itemDone();
        }
    }
    if (document) {
        document->finish();
        host.endDocument();
    }
    if (transmissionAfterDocument) host.transmission();
}

void runWholeAnnualReport(PageEngine& engine, const ReportOptions&) {
    drawTitlePage(engine);
    for (const AnnualItem item : {AnnualItem::Summary, AnnualItem::Property, AnnualItem::Details}) {
        nextSheet(engine, item);
        drawAnnualItem(engine, item);
    }
}

void runTitlePage(PageEngine& engine, const ReportOptions&) { drawTitlePage(engine); }
void runSummaryForm(PageEngine& engine, const ReportOptions&) { drawSummaryForm(engine, SummaryForm::Summary); }
void runPropertyForm(PageEngine& engine, const ReportOptions&) { drawPropertyForm(engine); }
void runDetailsForm(PageEngine& engine, const ReportOptions&) { drawSummaryForm(engine, SummaryForm::Details); }

}  // namespace quendra::printing
