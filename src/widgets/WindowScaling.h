#pragma once

class QWidget;

namespace quendra::widgets {

// Scales a window designed at 100 % and all its child widgets (geometry, minimum sizes
// and fonts) by the factor of windowScalePercent for the screen the window is on.
void scaleWindow(QWidget* window, int scaleSetting);

// The same with a factor in percent given directly (tests, fixed screens).
void scaleWindowByPercent(QWidget* window, int percent);

}  // namespace quendra::widgets
