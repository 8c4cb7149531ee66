#pragma once

#include "printing/page_engine.h"

#include <string>
#include <string_view>

// Pieces the three annual-report forms share.
namespace quendra::printing {

// "Luogo: place", "Parrocchia: PARISH" with "(Modulo n di 4)" at the right, a rule and the
// form's title centred over it, in 12 × scale bold; ends in 11 × scale normal with y on the
// title's line.
void drawFormHeading(PageEngine& engine, std::string_view module, std::string_view title);

// label followed by dots until it is at least width wide in the canvas's current font.
std::string dotted(Canvas& canvas, std::string label, int width);

// A code without its blanks: " A0101" -> "A0101".
std::string withoutBlanks(std::string_view code);

}  // namespace quendra::printing
