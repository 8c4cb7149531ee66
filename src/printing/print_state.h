#pragma once

#include <string>

namespace quendra::printing {

enum class OutputTarget { Screen = 0, Printer = 1, Pdf = 2, Cancelled = 3 };

// 0 waiting for the user, 1 "go on", 3 stopped (or window closing), 6 printing on paper.
enum class PagingState { Waiting = 0, GoOn = 1, Stopped = 3, Paper = 6 };

enum class ReportKind {
    Journal = -1,
    AllMovements = 0,     // "&tutti movimenti"
    AccountsAndSubs = 1,  // "conti - sottoconti"
    AccountsOnly = 2,     // "solo conti"
    AnnualReport = 3,
    ChartListing = 4,
};

enum class SelectionOption { None = 0, Text = 1, DateRange = 2 };

// Income and expense summed side by side.
struct SumPair {
    double income = 0;
    double expense = 0;

    void add(double in, double out) {
        income += in;
        expense += out;
    }
    void zero() { *this = {}; }
    bool isZero() const { return income == 0 && expense == 0; }
    double difference() const { return income - expense; }
};

// The eight horizontal positions of a target, computed at setup.
struct Columns {
    int leftEdge = 0;
    int numberEdge = 0;  // right edge of the movement number
    int dateColumn = 0;
    int codeColumn = 0;
    int textColumn = 0;
    int textEnd = 0;      // right limit of the description
    int incomeEdge = 0;   // right edge of "entrate"
    int expenseEdge = 0;  // right edge of "uscite"
};

// The state every primitive reads and writes. One instance lives as long as the print
// window (or the headless run); a setup fills the geometry, a report the rest.
struct PrintState {
    OutputTarget target = OutputTarget::Screen;
    PagingState paging = PagingState::Waiting;
    ReportKind kind = ReportKind::AllMovements;
    SelectionOption option = SelectionOption::None;
    bool cashBoxMode = false;
    bool accountChoiceMode = false;
    bool detailLines = false;

    int y = 1;
    int lineStep = 0;    // of the font in force at setup; primitives ask the canvas anew
    int ruleOffset = 0;  // ruling lines sit this far above the text line
    double scale = 1;
    int bodySize = 10;   // round(10 × scale)
    int numberWidth = 0;
    Columns columns;
    int top = -150;      // paper only
    int bottom = -2700;  // paper only
    int screenHeight = 0;
    int pageCounter = 1;
    std::string carryLabel = "SOMMA";
    bool journalFinished = false;
    bool frames = true;  // Gr_linie "1"

    SumPair grand, section, account, subAccount, assets;

    std::string groupPrefix;    // first four characters of the current code
    std::string subAccountKey;  // first six
    std::string lastCod;        // COD of the last row summed
    std::string lastText;       // its chart TEXT
    std::string lastMainText;   // its chart TEXTH

    bool onPaper() const { return paging == PagingState::Paper; }
    bool stopped() const { return paging == PagingState::Stopped; }
    void zeroSums() {
        grand.zero();
        section.zero();
        account.zero();
        subAccount.zero();
        assets.zero();
    }
};

}  // namespace quendra::printing
