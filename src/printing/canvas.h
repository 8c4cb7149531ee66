#pragma once

#include <string>
#include <string_view>

namespace quendra::printing {

// A font as the reports ask for it: a face name, a size in points and bold or not.
struct Font {
    std::string name = "Arial";
    int size = 10;
    bool bold = false;

    bool operator==(const Font&) const = default;
};

// Where a report draws: the paper (0.1 mm, y upwards, every y negative), a PDF with the
// paper's geometry, or the preview (pixels, y downwards). Texts are UTF-8 and drawn with
// the top of their line at y; the canvas never knows the direction of y.
//
// Units are the canvas's own: fontHeight() is the height of the font's em in those units,
// negative as a font given in points reports it, so the line step is round(1.2 × height)
// on paper and round(−1.2 × height) on screen.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setFont(const Font& font) = 0;
    virtual const Font& font() const = 0;
    virtual int textWidth(std::string_view text) = 0;
    virtual int fontHeight() = 0;
    virtual void setPenWidth(int width) = 0;
    virtual void drawText(int x, int y, std::string_view text) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    // Paper: the next sheet. Screen: never called.
    virtual void newPage() = 0;
    // Screen: empty the list area for the next screen page. Paper: nothing.
    virtual void clear() = 0;

    // Font changes the primitives make all the time.
    void setFontSize(int size) {
        Font f = font();
        f.size = size;
        setFont(f);
    }
    void setBold(bool bold) {
        Font f = font();
        f.bold = bold;
        setFont(f);
    }
};

}  // namespace quendra::printing
