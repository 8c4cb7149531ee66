#pragma once

#include <QWidget>

namespace quendra::printing {

class RecordingCanvas;

// The print window's list area ("ListBox1"): cyan, and while a preview runs it paints the
// screen page the report has drawn so far.
class PreviewArea : public QWidget {
    Q_OBJECT

public:
    explicit PreviewArea(QWidget* parent = nullptr);
    // The canvas whose current page to paint; null shows the empty area.
    void showCanvas(const RecordingCanvas* canvas);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const RecordingCanvas* canvas_ = nullptr;
};

}  // namespace quendra::printing
