#pragma once

#include "printing/page_engine.h"
#include "printing/report_options.h"

#include <array>
#include <string_view>

// The annual report ("&bilancio - invio a. Velmora"): the title page, the three forms and
// the transmission of the year to the diocesan administration, item by item as the print
// window's list offers them.
namespace quendra::printing {

enum class AnnualItem { All = 0, TitlePage = 1, Summary = 2, Property = 3, Details = 4, Transmission = 5 };

inline constexpr std::array<std::string_view, 6> kAnnualItemCaptions = {
    "TUTTI I MODULI",
    "1-frontespizio",
    "2-riepilogo",
    "3-situazione patrimoniale",
    "4-conto-sottoconti-dettagli",
    "--> invio telematico alla Velmora ",
};

// quendra-report's name of an item's report ("bilancio" for All), which also names its
// PDF; none for the transmission.
std::string_view annualItemReport(AnnualItem item);

// What the run needs of the print window.
class AnnualReportHost {
public:
    virtual ~AnnualReportHost() = default;
    // Starts one item's output on the target the user chose: sets up the preview, or asks
    // the print dialog (or the PDF's name), begins the document and sets up the paper.
    // Returns the engine to draw with; nullptr, with the state's target Cancelled, when
    // the user cancelled.
    virtual PageEngine* startOutput() = 0;
    // An item has ended in the preview: the start panel shows again.
    virtual void itemDone() = 0;
    // Ends the print document (the last page number is drawn).
    virtual void endDocument() = 0;
    // The transmission window, shown modally while the print window's tables are closed.
    virtual void transmission() = 0;
};

// "ReportstartClick": runs the chosen item, or for All items 1 to 5. On screen every form
// ends with the "&FINE LISTA" wait. On paper All is one print job: no number under the
// title page, the forms on new pages with "- n -". The transmission opens on any target;
// on paper only after the print job has ended, and an item 5 chosen alone starts no job.
void runAnnualReport(PrintState& state, AnnualItem chosen, AnnualReportHost& host);

// The forms of one item (1 to 4) at the engine's current position.
void drawAnnualItem(PageEngine& engine, AnnualItem item);

// quendra-report's "bilancio": items 1 to 4 on the paper already set up, as one document.
void runWholeAnnualReport(PageEngine& engine, const ReportOptions& options);
void runTitlePage(PageEngine& engine, const ReportOptions& options);
void runSummaryForm(PageEngine& engine, const ReportOptions& options);
void runPropertyForm(PageEngine& engine, const ReportOptions& options);
void runDetailsForm(PageEngine& engine, const ReportOptions& options);

}  // namespace quendra::printing
