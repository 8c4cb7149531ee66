#pragma once

namespace quendra::widgets {

// Windows are designed for a screen 700 pixels high at scale 100: the factor in percent
// is screen height × scale / 100 / 700 × 100, to the nearest whole number.
int windowScalePercent(int screenHeight, int scaleSetting);

}  // namespace quendra::widgets
