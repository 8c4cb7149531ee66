#pragma once

#include "printing/canvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace quendra::printing {

// How wide a text is and how high a font is, in a canvas's units.
class TextMetric {
public:
    virtual ~TextMetric() = default;
    virtual int width(const Font& font, std::string_view text) const = 0;
    // Negative, as for a font given in points.
    virtual int height(const Font& font) const = 0;
};

// A metric that needs no font files, so that recorded pages are the same everywhere:
// the em is size × unitsPerPoint (rounded), every character 0.55 em wide.
class FixedTextMetric : public TextMetric {
public:
    // Paper: 0.1 mm per unit, 254 / 72 units to the point. Screen: 96 / 72.
    static constexpr double kPaperUnitsPerPoint = 254.0 / 72.0;
    static constexpr double kScreenUnitsPerPoint = 96.0 / 72.0;

    explicit FixedTextMetric(double unitsPerPoint = kPaperUnitsPerPoint) : unitsPerPoint_(unitsPerPoint) {}
    int width(const Font& font, std::string_view text) const override;
    int height(const Font& font) const override;
    void setUnitsPerPoint(double unitsPerPoint) { unitsPerPoint_ = unitsPerPoint; }

private:
    double unitsPerPoint_;
};

// One thing drawn: a text with its top-left corner at (x1, y1), or a line.
struct DrawItem {
    enum class Kind { Text, Line };
    Kind kind = Kind::Text;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Font font;          // texts
    std::string text;   // texts
    int penWidth = 1;   // lines
};

struct RecordedPage {
    std::vector<DrawItem> items;
};

// A canvas that keeps every page as data: for tests (compared with golden text), for
// the preview (which paints the current page) and for replaying onto another canvas.
// newPage() and clear() both begin a new page unless the current one is still empty.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(const TextMetric& metric) : metric_(metric) {}

    void setFont(const Font& font) override { font_ = font; }
    const Font& font() const override { return font_; }
    int textWidth(std::string_view text) override { return metric_.width(font_, text); }
    int fontHeight() override { return metric_.height(font_); }
    void setPenWidth(int width) override { penWidth_ = width; }
    void drawText(int x, int y, std::string_view text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void newPage() override { beginPage(); }
    void clear() override { beginPage(); }

    const std::vector<RecordedPage>& pages() const { return pages_; }
    // The page drawn last (empty before anything is drawn).
    const RecordedPage& currentPage() const { return pages_.back(); }

private:
    void beginPage();

    const TextMetric& metric_;
    Font font_;
    int penWidth_ = 1;
    std::vector<RecordedPage> pages_{1};
};

// Draws a recorded page onto another canvas, in the order it was recorded.
void replay(const RecordedPage& page, Canvas& canvas);

// The pages as text, one item a line, for golden files:
//   == page 1
//   T 111 -150 Arial 9 b |Giornale della parrocchia: ...|
//   L 111 -188 1870 -188 2
std::string dumpPages(const std::vector<RecordedPage>& pages);

}  // namespace quendra::printing
