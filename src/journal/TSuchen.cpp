#include "journal/TSuchen.h"

#include "widgets/WindowScaling.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quendra::journal {

TSuchen::TSuchen(state::MainState& state, platform::Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName("TSuchen");
    setWindowTitle("Such-Fenster");

    auto* kinds = new QGroupBox("ricerca secondo", this);
    kinds->setObjectName("RadioGroup1");
    numero_ = new QRadioButton("numero", kinds);
    numero_->setObjectName("RadioNumero");
    data_ = new QRadioButton("data", kinds);
    data_->setObjectName("RadioData");
    oggetto_ = new QRadioButton("oggetto", kinds);
    oggetto_->setObjectName("RadioOggetto");
    oggetto_->setChecked(true);
    auto* kindsLayout = new QHBoxLayout(kinds);
    kindsLayout->addWidget(numero_);
    kindsLayout->addWidget(data_);
    kindsLayout->addWidget(oggetto_);
    auto* group = new QButtonGroup(this);
    group->addButton(numero_);
    group->addButton(data_);
    group->addButton(oggetto_);

    text_ = new QLineEdit(this);
    text_->setObjectName("Edit1");
    searchButton_ = new QPushButton("Suchen", this);
    searchButton_->setObjectName("Button1");
    auto* annulla = new QPushButton("annulla", this);
    annulla->setObjectName("Button2");
    // Enter in the text searches; it must not also press a default button.
    searchButton_->setAutoDefault(false);
    annulla->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(searchButton_);
    buttons->addWidget(annulla);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kinds);
    layout->addWidget(text_);
    layout->addLayout(buttons);

    connect(group, &QButtonGroup::buttonClicked, this, &TSuchen::RadioGroup1Click);
    connect(searchButton_, &QPushButton::clicked, this, &TSuchen::Button1Click);
    connect(text_, &QLineEdit::returnPressed, this, &TSuchen::Button1Click);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);

    resize(420, 150);
    widgets::scaleWindow(this, state.settings.scalePercent());
}

void TSuchen::showFor(storage::Cursor& journal) {
    journal_ = &journal;
    FormActivate();
    exec();
    journal_ = nullptr;
}

void TSuchen::FormActivate() {
    searchButton_->setText("Suchen");
    search_.forget();
    text_->selectAll();
    text_->setFocus();
}

SearchKind TSuchen::kind() const {
    if (numero_->isChecked()) return SearchKind::Numero;
    if (data_->isChecked()) return SearchKind::Data;
    return SearchKind::Oggetto;
}

void TSuchen::RadioGroup1Click() {
    if (!journal_) return;
    search_.restart(*journal_);
    text_->clear();
    text_->setFocus();
    emit journalMoved();
}

void TSuchen::Button1Click() {
    if (!journal_) return;
    const std::string text = text_->text().toStdString();
    SearchOutcome outcome = SearchOutcome::NotFound;
    if (!searchOnce(text, outcome)) return;
    // The rows above the start are looked at only when the user wants it.
    const bool fromStart = outcome == SearchOutcome::ReachedEnd &&
                           services_.prompt.ask(platform::PromptKind::Confirmation, searchMessage(outcome, text));
    if (fromStart && !searchOnce(text, outcome)) return;
    if (outcome == SearchOutcome::NotANumber || outcome == SearchOutcome::NotADate) {
        services_.prompt.message(platform::PromptKind::Error, searchMessage(outcome, text));
        text_->selectAll();
        return;
    }
    emit journalMoved();
    if (outcome == SearchOutcome::NotFound) services_.prompt.message(platform::PromptKind::Information, searchMessage(outcome, text));
    text_->selectAll();
    text_->setFocus();
    searchButton_->setText("Weitersuchen");
}

bool TSuchen::searchOnce(const std::string& text, SearchOutcome& outcome) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        outcome = search_.next(*journal_, kind(), text);
    } catch (const storage::DbError& error) {
        QApplication::restoreOverrideCursor();
        services_.prompt.message(platform::PromptKind::Error, error.what());
        return false;
    }
    QApplication::restoreOverrideCursor();
    return true;
}

}  // namespace quendra::journal
