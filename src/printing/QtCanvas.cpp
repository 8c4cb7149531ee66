#include "printing/QtCanvas.h"

#include <QPagedPaintDevice>

#include <cmath>

namespace quendra::printing {

namespace {

QString qstring(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

CanvasGeometry CanvasGeometry::paper(int resolution) {
    return {resolution / 254.0, FixedTextMetric::kPaperUnitsPerPoint, true};
}

QFont qtFont(const Font& font, const CanvasGeometry& geometry) {
    QFont f(QString::fromStdString(font.name));
    const double em = std::lround(font.size * geometry.unitsPerPoint) * geometry.devicePerUnit;
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    f.setBold(font.bold);
    f.setKerning(false);
    return f;
}

int QtTextMetric::width(const Font& font, std::string_view text) const {
    const QFontMetricsF metrics(qtFont(font, geometry_));
    return static_cast<int>(std::lround(metrics.horizontalAdvance(qstring(text)) / geometry_.devicePerUnit));
}

int QtTextMetric::height(const Font& font) const {
    return -static_cast<int>(std::lround(font.size * geometry_.unitsPerPoint));
}

QtCanvas::QtCanvas(QPainter& painter, CanvasGeometry geometry, QPagedPaintDevice* pages)
    : painter_(painter), geometry_(geometry), pages_(pages), metrics_(painter.font()) {
    setFont(font_);
    setPenWidth(1);
}

void QtCanvas::setFont(const Font& font) {
    if (fontApplied_ && font == font_) {
        return;
    }
    fontApplied_ = true;
    font_ = font;
    const QFont qfont = qtFont(font, geometry_);
    painter_.setFont(qfont);
    metrics_ = QFontMetricsF(qfont, painter_.device());
}

int QtCanvas::textWidth(std::string_view text) {
    return static_cast<int>(std::lround(metrics_.horizontalAdvance(qstring(text)) / geometry_.devicePerUnit));
}

int QtCanvas::fontHeight() { return -static_cast<int>(std::lround(font_.size * geometry_.unitsPerPoint)); }

void QtCanvas::setPenWidth(int width) {
    QPen pen(Qt::black);
    pen.setWidthF(width * geometry_.devicePerUnit);
    painter_.setPen(pen);
}

QPointF QtCanvas::device(int x, int y) const {
    return {x * geometry_.devicePerUnit, (geometry_.yUpwards ? -y : y) * geometry_.devicePerUnit};
}

void QtCanvas::drawText(int x, int y, std::string_view text) {
    if (text.empty()) {
        return;
    }
    const QPointF top = device(x, y);
    painter_.drawText(QPointF(top.x(), top.y() + metrics_.ascent()), qstring(text));
}

void QtCanvas::drawLine(int x1, int y1, int x2, int y2) { painter_.drawLine(device(x1, y1), device(x2, y2)); }

void QtCanvas::newPage() {
    if (pages_ != nullptr) {
        pages_->newPage();
    }
}

}  // namespace quendra::printing
