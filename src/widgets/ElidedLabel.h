#pragma once

#include <QFrame>

namespace quendra::widgets {

// A read-only text of the entry panel that never widens the window: a text longer than
// its room ends in "…", and shows whole as its tool tip.
class ElidedLabel : public QFrame {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString& name, QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return text_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace quendra::widgets
