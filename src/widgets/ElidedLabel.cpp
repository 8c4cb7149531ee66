#include "widgets/ElidedLabel.h"

#include <QPainter>

namespace quendra::widgets {

ElidedLabel::ElidedLabel(const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString& text) {
    text_ = text;
    setToolTip(text);
    update();
}

QSize ElidedLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().averageCharWidth() * 20 + margins.left() + margins.right(),
            fontMetrics().height() + 4 + margins.top() + margins.bottom()};
}

QSize ElidedLabel::minimumSizeHint() const { return {fontMetrics().averageCharWidth() * 4, sizeHint().height()}; }

void ElidedLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect room = contentsRect().adjusted(3, 0, -3, 0);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text_, Qt::ElideRight, room.width()));
}

}  // namespace quendra::widgets
