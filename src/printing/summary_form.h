#pragma once

#include "printing/page_engine.h"

namespace quendra::printing {

enum class SummaryForm {
    Summary,  // "(Modulo 1 di 4)" RIEPILOGO: one line per main account
    Details,  // "(Modulo 3 di 4)" CONTO SOTTOCONTO DETTAGLI: main account headings, sub-account lines
};

// "zusammenfassung": draws the form from the year's journal at the engine's current y,
// the output already set up. Every line asks contr() first, so a form runs over as many
// pages as it needs and draws nothing once the preview was stopped.
void drawSummaryForm(PageEngine& engine, SummaryForm form);

}  // namespace quendra::printing
