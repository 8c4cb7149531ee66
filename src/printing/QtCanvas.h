#pragma once

#include "printing/canvas.h"
#include "printing/recording_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

class QPagedPaintDevice;

namespace quendra::printing {

// How a canvas unit and a font size become device pixels.
struct CanvasGeometry {
    double devicePerUnit = 1;  // device pixels per canvas unit
    double unitsPerPoint = FixedTextMetric::kScreenUnitsPerPoint;
    bool yUpwards = false;     // paper: y grows upwards, every position is negative

    // Paper and PDF on a device of this resolution (dots per inch): 0.1-mm units.
    static CanvasGeometry paper(int resolution);
    static CanvasGeometry screen() { return {}; }
};

// A font as Qt draws it at this geometry ("Arial" comes out as Liberation Sans, which
// has Arial's widths).
QFont qtFont(const Font& font, const CanvasGeometry& geometry);

// The widths and heights of real fonts, for the preview's recording canvas.
class QtTextMetric : public TextMetric {
public:
    explicit QtTextMetric(CanvasGeometry geometry = CanvasGeometry::screen()) : geometry_(geometry) {}
    int width(const Font& font, std::string_view text) const override;
    int height(const Font& font) const override;

private:
    CanvasGeometry geometry_;
};

// The canvas on a QPainter: the printer's page, a PDF, or the preview's list area.
class QtCanvas : public Canvas {
public:
    // pages: the device that gets new pages (null for the screen).
    QtCanvas(QPainter& painter, CanvasGeometry geometry, QPagedPaintDevice* pages = nullptr);

    void setFont(const Font& font) override;
    const Font& font() const override { return font_; }
    int textWidth(std::string_view text) override;
    int fontHeight() override;
    void setPenWidth(int width) override;
    void drawText(int x, int y, std::string_view text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void newPage() override;
    void clear() override {}

private:
    QPointF device(int x, int y) const;

    QPainter& painter_;
    CanvasGeometry geometry_;
    QPagedPaintDevice* pages_;
    Font font_;
    bool fontApplied_ = false;
    QFontMetricsF metrics_;
};

}  // namespace quendra::printing
