#include "printing/PreviewArea.h"

#include "printing/QtCanvas.h"
#include "printing/recording_canvas.h"

#include <QPainter>

namespace quendra::printing {

PreviewArea::PreviewArea(QWidget* parent) : QWidget(parent) {
    setObjectName("ListBox1");
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::cyan);
    setPalette(palette);
}

void PreviewArea::showCanvas(const RecordingCanvas* canvas) {
    canvas_ = canvas;
    update();
}

void PreviewArea::paintEvent(QPaintEvent*) {
    if (canvas_ == nullptr) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QtCanvas canvas(painter, CanvasGeometry::screen());
    replay(canvas_->currentPage(), canvas);
}

}  // namespace quendra::printing
