#include "platform/QtPrompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace quendra::platform {

namespace {

QString captionOf(PromptKind kind, const StandardDialogTexts& t) {
    switch (kind) {
        case PromptKind::Warning: return QString::fromStdString(t.warning);
        case PromptKind::Error: return QString::fromStdString(t.error);
        case PromptKind::Confirmation: return QString::fromStdString(t.confirmation);
        default: return QString::fromStdString(t.information);
    }
}

QMessageBox::Icon iconOf(PromptKind kind) {
    switch (kind) {
        case PromptKind::Warning: return QMessageBox::Warning;
        case PromptKind::Error: return QMessageBox::Critical;
        case PromptKind::Confirmation: return QMessageBox::Question;
        default: return QMessageBox::Information;
    }
}

}  // namespace

QtPrompt::QtPrompt(QWidget* parent, DialogLanguage language) : parent_(parent), language_(language) {}

void QtPrompt::message(PromptKind kind, const std::string& text) {
    const StandardDialogTexts& t = standardDialogTexts(language_);
    QMessageBox box(iconOf(kind), captionOf(kind, t), QString::fromStdString(text), QMessageBox::NoButton, parent_);
    box.addButton(QString::fromStdString(t.ok), QMessageBox::AcceptRole);
    box.exec();
}

bool QtPrompt::ask(PromptKind kind, const std::string& text) { return askYesNo(kind, text, true); }

bool QtPrompt::askBeforeLoss(PromptKind kind, const std::string& text) { return askYesNo(kind, text, false); }

bool QtPrompt::askYesNo(PromptKind kind, const std::string& text, bool yesByDefault) {
    const StandardDialogTexts& t = standardDialogTexts(language_);
    QMessageBox box(iconOf(kind), captionOf(kind, t), QString::fromStdString(text), QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QString::fromStdString(t.yes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromStdString(t.no), QMessageBox::NoRole);
    box.setDefaultButton(yesByDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool QtPrompt::confirm(const std::string& text) {
    const StandardDialogTexts& t = standardDialogTexts(language_);
    QMessageBox box(QMessageBox::Question, captionOf(PromptKind::Confirmation, t), QString::fromStdString(text),
                    QMessageBox::NoButton, parent_);
    QPushButton* ok = box.addButton(QString::fromStdString(t.ok), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QString::fromStdString(t.cancel), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

}  // namespace quendra::platform
