#include "widgets/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quendra::widgets {

namespace {

constexpr const char* kHelpContextProperty = "helpContext";

// Within the window only: a dialog without a context does not borrow its owner's.
std::optional<int> helpContextOf(const QWidget* widget) {
    for (; widget; widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
        const QVariant context = widget->property(kHelpContextProperty);
        if (context.isValid()) return context.toInt();
    }
    return std::nullopt;
}

}  // namespace

void setHelpContext(QWidget* widget, int context) { widget->setProperty(kHelpContextProperty, context); }

HelpKey::HelpKey(Callback callback, QObject* parent) : QObject(parent), callback_(std::move(callback)) {
    QCoreApplication::instance()->installEventFilter(this);
}

HelpKey::~HelpKey() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return QObject::eventFilter(watched, event);
    // The key goes to the focused widget, through its window when it comes from the desktop.
    const auto* receiver = qobject_cast<const QWidget*>(watched);
    if (!receiver) receiver = QApplication::focusWidget();
    callback_(helpContextOf(receiver ? receiver : QApplication::activeWindow()));
    // Taken here, so that the key does not reach the field's parents a second time.
    return true;
}

}  // namespace quendra::widgets
