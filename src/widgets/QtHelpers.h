#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>

#include <string_view>

namespace quendra::widgets {

// The core speaks UTF-8.
inline QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// A dialog button that Enter never presses: Enter belongs to the dialog's fields and lists.
inline QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// A label that tests and the window's code find by name.
inline QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace quendra::widgets
