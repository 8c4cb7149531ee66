#include "journal/window_scale.h"

#include <cmath>

namespace quendra::journal {

int windowScalePercent(int screenHeight, int scaleSetting) {
    return int(std::lround(double(screenHeight) * scaleSetting / 700.0));
}

}  // namespace quendra::journal
