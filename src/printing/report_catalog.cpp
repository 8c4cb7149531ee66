#include "printing/report_catalog.h"

#include "budget/budget_reports.h"
#include "printing/cash_box_ledger.h"
#include "printing/annual_report.h"
#include "printing/chart_listing.h"
#include "printing/journal_report.h"
#include "printing/statement_listing.h"

#include <algorithm>
#include <array>

namespace quendra::printing {

namespace {

// One line per report; a report still to come has no function yet.
const std::array<ReportEntry, 14> kCatalog = {{
    {"piano", "piano-conti", ReportKind::ChartListing, false, false, runChartListing},

    {"giornale", "giornale", ReportKind::Journal, false, false, runJournal},
    {"movimenti", "tutti-movimenti", ReportKind::AllMovements, false, false, runStatementListing},
    {"sottoconti", "conti-sottoconti", ReportKind::AccountsAndSubs, false, false, runStatementListing},
    {"conti", "solo-conti", ReportKind::AccountsOnly, false, false, runStatementListing},
    {"liquidita", "situazione-liquidita", ReportKind::AllMovements, true, false, runCashBoxLedger},
    {"estratto", "estratto-conto", ReportKind::AllMovements, true, true, runCashBoxLedger},

    {"bilancio", "bilancio", ReportKind::AnnualReport, false, false, runWholeAnnualReport},
    {"frontespizio", "frontespizio", ReportKind::AnnualReport, false, false, runTitlePage},
    {"riepilogo", "riepilogo", ReportKind::AnnualReport, false, false, runSummaryForm},
    {"patrimoniale", "situazione-patrimoniale", ReportKind::AnnualReport, false, false, runPropertyForm},
    {"dettagli", "dettagli", ReportKind::AnnualReport, false, false, runDetailsForm},

    {"preventivo", "preventivo", ReportKind::AnnualReport, false, false, budget::runBudgetReport},
    {"confronto", "confronto", ReportKind::AnnualReport, false, false, budget::runComparisonReport},
}};

}  // namespace

std::span<const ReportEntry> reportCatalog() { return kCatalog; }

const ReportEntry* findReport(std::string_view name) {
    const auto it = std::find_if(kCatalog.begin(), kCatalog.end(), [&](const ReportEntry& e) { return e.name == name; });
    return it == kCatalog.end() ? nullptr : &*it;
}

std::string proposedPdfName(const ReportEntry& entry, std::string_view yearNumber) {
    const std::string number(yearNumber);
    return std::string(entry.fileStem) + "-" + number.substr(0, 4) + "-" + number.substr(4, 2) + ".pdf";
}

std::string documentTitle(const ReportEntry& entry, const ReportYear& year) {
    std::string report(entry.fileStem);
    std::replace(report.begin(), report.end(), '-', ' ');
    report[0] = char(report[0] - 'a' + 'A');
    const ChartTextRow parish = ChartTexts(year.chartPath).parish();
    return report + " - esercizio " + year.yearSlash() + " - " + parish.text + " (" + parish.texth + ")";
}

void prepareState(const ReportEntry& entry, const ReportOptions& options, PrintState& state) {
    state.kind = entry.kind;
    state.cashBoxMode = entry.cashBoxMode;
    state.accountChoiceMode = entry.accountChoiceMode;
    state.detailLines = options.details;
    state.journalFinished = false;
    if (entry.kind != ReportKind::Journal && (options.from || options.to)) {
        state.option = SelectionOption::DateRange;
    } else if (!options.text.empty()) {
        state.option = SelectionOption::Text;
    } else {
        state.option = SelectionOption::None;
    }
}

void runReport(const ReportEntry& entry, PageEngine& engine, const ReportOptions& options, int screenWidth,
               int screenHeight) {
    const OutputTarget target = engine.state().target;
    if (target == OutputTarget::Printer || target == OutputTarget::Pdf) {
        engine.setUpPaper();
    } else {
        engine.setUpScreen(screenWidth, screenHeight);
    }
    entry.run(engine, options);
    engine.finish();
}

}  // namespace quendra::printing
