#include "widgets/WindowScaling.h"

#include "widgets/window_scale.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace quendra::widgets {

namespace {

int scaled(int value, int percent) { return int(std::lround(value * percent / 100.0)); }

void scaleWidget(QWidget* widget, int percent) {
    // Children that inherit the window's size grow with it; only sizes they set are ours to scale.
    const bool ownSize = widget->testAttribute(Qt::WA_SetFont) && (widget->font().resolveMask() & QFont::SizeResolved);
    if (widget->isWindow() || ownSize) {
        QFont font = widget->font();
        if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * percent / 100.0);
        else if (font.pixelSize() > 0) font.setPixelSize(scaled(font.pixelSize(), percent));
        widget->setFont(font);
    }
    const QSize min = widget->minimumSize();
    if (!min.isEmpty()) widget->setMinimumSize(scaled(min.width(), percent), scaled(min.height(), percent));
    if (widget->isWindow()) {
        // Only the size: a placed window would no longer open centred over its parent.
        widget->resize(scaled(widget->width(), percent), scaled(widget->height(), percent));
    } else if (!widget->layout()) {
        const QRect g = widget->geometry();
        widget->setGeometry(scaled(g.x(), percent), scaled(g.y(), percent), scaled(g.width(), percent),
                            scaled(g.height(), percent));
    }
}

}  // namespace

void scaleWindowByPercent(QWidget* window, int percent) {
    if (percent == 100 || percent <= 0) return;
    scaleWidget(window, percent);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->window() == window) scaleWidget(child, percent);
    }
}

void scaleWindow(QWidget* window, int scaleSetting) {
    const QScreen* screen = window->screen() ? window->screen() : QApplication::primaryScreen();
    const int height = screen ? screen->geometry().height() : 700;
    scaleWindowByPercent(window, windowScalePercent(height, scaleSetting));
}

}  // namespace quendra::widgets
