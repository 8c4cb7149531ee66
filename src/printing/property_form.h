#pragma once

#include "printing/page_engine.h"

namespace quendra::printing {

// "vermoegensstand": "(Modulo 2 di 4)" SITUAZIONE PATRIMONIALE from the year's journal, at
// the engine's current y, the output already set up. The grid and the block reserved to
// the administration each begin with a page check; in the preview each begins a new
// screen page.
void drawPropertyForm(PageEngine& engine);

}  // namespace quendra::printing
