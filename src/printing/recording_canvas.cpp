#include "printing/recording_canvas.h"

#include <cmath>

namespace quendra::printing {

namespace {

std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

}  // namespace

int FixedTextMetric::width(const Font& font, std::string_view text) const {
    const double em = -height(font);
    return static_cast<int>(std::lround(static_cast<double>(characterCount(text)) * em * 0.55));
}

int FixedTextMetric::height(const Font& font) const {
    return -static_cast<int>(std::lround(font.size * unitsPerPoint_));
}

void RecordingCanvas::drawText(int x, int y, std::string_view text) {
    DrawItem item;
    item.kind = DrawItem::Kind::Text;
    item.x1 = x;
    item.y1 = y;
    item.font = font_;
    item.text = std::string(text);
    pages_.back().items.push_back(std::move(item));
}

void RecordingCanvas::drawLine(int x1, int y1, int x2, int y2) {
    DrawItem item;
    item.kind = DrawItem::Kind::Line;
    item.x1 = x1;
    item.y1 = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.penWidth = penWidth_;
    pages_.back().items.push_back(std::move(item));
}

void RecordingCanvas::beginPage() {
    if (!pages_.back().items.empty()) {
        pages_.emplace_back();
    }
}

void replay(const RecordedPage& page, Canvas& canvas) {
    for (const DrawItem& item : page.items) {
        if (item.kind == DrawItem::Kind::Text) {
            canvas.setFont(item.font);
            canvas.drawText(item.x1, item.y1, item.text);
        } else {
            canvas.setPenWidth(item.penWidth);
            canvas.drawLine(item.x1, item.y1, item.x2, item.y2);
        }
    }
}

std::string dumpPages(const std::vector<RecordedPage>& pages) {
    std::string out;
    int number = 0;
    for (const RecordedPage& page : pages) {
        out += "== page " + std::to_string(++number) + "\n";
        for (const DrawItem& item : page.items) {
            if (item.kind == DrawItem::Kind::Text) {
                out += "T " + std::to_string(item.x1) + " " + std::to_string(item.y1) + " " + item.font.name + " " +
                       std::to_string(item.font.size) + (item.font.bold ? " b" : " n") + " |" + item.text + "|\n";
            } else {
                out += "L " + std::to_string(item.x1) + " " + std::to_string(item.y1) + " " + std::to_string(item.x2) +
                       " " + std::to_string(item.y2) + " " + std::to_string(item.penWidth) + "\n";
            }
        }
    }
    return out;
}

}  // namespace quendra::printing
