#include "widgets/window_scale.h"

#include <cmath>

namespace quendra::widgets {

int windowScalePercent(int screenHeight, int scaleSetting) {
    return int(std::lround(double(screenHeight) * scaleSetting / 700.0));
}

}  // namespace quendra::widgets
