#pragma once

#include "printing/page_engine.h"

namespace quendra::printing {

// "Titelseite": the page the parish council for economic affairs signs, the output
// already set up. In the preview it takes two screen pages.
void drawTitlePage(PageEngine& engine);

}  // namespace quendra::printing
