#pragma once

#include "printing/print_state.h"

#include <string_view>

namespace quendra::printing {

// Which radio buttons of the print window's start panel are ticked.
struct StartPanelChoice {
    bool accountChoice = false;    // "estratto &conto a scelta"
    bool journal = false;          // "&giornale"
    bool allMovements = false;     // "&tutti movimenti"
    bool accountsAndSubs = false;  // "conti - sottoconti"
    bool accountsOnly = false;     // "solo conti"
    bool annualReport = false;     // "&bilancio - invio a. Velmora"
    bool chartListing = false;     // "&piano dei conti"
    bool cashBoxes = false;        // "situazione &liquidita"
    SelectionOption option = SelectionOption::None;
    OutputTarget output = OutputTarget::Screen;
};

// The reset of the start panel: kind 0, no modes, no option, screen, no detail lines.
void resetStartState(PrintState& state);

// Reads the panel in the fixed order, each ticked button overwriting the earlier effect;
// buttons not ticked leave the state the reset gave.
void applyStartPanel(const StartPanelChoice& choice, PrintState& state);

// The catalog name of the report the state asks for ("liquidita", "giornale", ...).
std::string_view reportNameFor(const PrintState& state);

}  // namespace quendra::printing
