#include "widgets/OverlayField.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>

namespace quendra::widgets {

namespace {

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

bool startsEdit(const QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::MouseButtonPress: return true;
        case QEvent::KeyPress: {
            const int key = static_cast<const QKeyEvent*>(event)->key();
            return isEnter(key) || key == Qt::Key_F2;
        }
        default: return false;
    }
}

}  // namespace

OverlayField::OverlayField(const QString& dataName, const QString& editName, QWidget* parent)
    : QWidget(parent), data_(new QLineEdit(this)), edit_(new QLineEdit(this)) {
    data_->setObjectName(dataName);
    data_->setReadOnly(true);
    edit_->setObjectName(editName);
    // Tab leaves the edit field for the next data field, never for its own data field.
    edit_->setFocusPolicy(Qt::ClickFocus);
    edit_->hide();
    setFocusProxy(data_);
    data_->installEventFilter(this);
    edit_->installEventFilter(this);
}

QSize OverlayField::sizeHint() const { return data_->sizeHint(); }

QSize OverlayField::minimumSizeHint() const { return data_->minimumSizeHint(); }

void OverlayField::setValue(const QString& text) { data_->setText(text); }

void OverlayField::begin(const QString& text) {
    editing_ = true;
    edit_->setGeometry(data_->geometry());
    edit_->setText(text);
    edit_->show();
    edit_->raise();
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
}

void OverlayField::finish(QWidget* next) {
    editing_ = false;
    if (next) {
        next->setFocus(Qt::OtherFocusReason);
    } else if (edit_->hasFocus()) {
        returning_ = true;
        data_->setFocus(Qt::OtherFocusReason);
        returning_ = false;
    }
    edit_->hide();
}

bool OverlayField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == data_ && !editing_ && !returning_ && startsEdit(event)) {
        emit entered();
    } else if (watched == edit_ && event->type() == QEvent::KeyPress) {
        if (isEnter(static_cast<QKeyEvent*>(event)->key())) {
            emit committed();
            return true;
        }
    } else if (watched == edit_ && event->type() == QEvent::FocusOut && editing_) {
        // A message box or another window taking the focus is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) emit left();
    }
    return QWidget::eventFilter(watched, event);
}

void OverlayField::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    data_->setGeometry(rect());
    edit_->setGeometry(rect());
}

}  // namespace quendra::widgets
