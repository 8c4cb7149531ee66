#include "printing/start_panel.h"

namespace quendra::printing {

void resetStartState(PrintState& state) {
    state.detailLines = false;
    state.cashBoxMode = false;
    state.accountChoiceMode = false;
    state.kind = ReportKind::AllMovements;
    state.option = SelectionOption::None;
    state.target = OutputTarget::Screen;
}

void applyStartPanel(const StartPanelChoice& choice, PrintState& state) {
    state.detailLines = false;
    if (choice.accountChoice) state.accountChoiceMode = true;
    if (choice.journal) state.kind = ReportKind::Journal;
    if (choice.allMovements) state.kind = ReportKind::AllMovements;
    if (choice.accountsAndSubs) state.kind = ReportKind::AccountsAndSubs;
    if (choice.accountsOnly) state.kind = ReportKind::AccountsOnly;
    if (choice.annualReport) state.kind = ReportKind::AnnualReport;
    if (choice.chartListing) state.kind = ReportKind::ChartListing;
    if (choice.cashBoxes) state.cashBoxMode = true;
    state.option = choice.option;
    state.target = choice.output;
    if (choice.accountChoice) state.cashBoxMode = true;
}

std::string_view reportNameFor(const PrintState& state) {
    if (state.cashBoxMode) {
        return state.accountChoiceMode ? "estratto" : "liquidita";
    }
    switch (state.kind) {
    case ReportKind::Journal: return "giornale";
    case ReportKind::AllMovements: return "movimenti";
    case ReportKind::AccountsAndSubs: return "sottoconti";
    case ReportKind::AccountsOnly: return "conti";
    case ReportKind::AnnualReport: return "bilancio";
    case ReportKind::ChartListing: return "piano";
    }
    return "movimenti";
}

}  // namespace quendra::printing
