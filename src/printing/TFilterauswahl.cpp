#include "printing/TFilterauswahl.h"

#include "platform/services.h"
#include "printing/selection_queries.h"
#include "widgets/HelpKey.h"
#include "widgets/QtHelpers.h"
#include "widgets/WindowScaling.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quendra::printing {

using widgets::button;
using widgets::qs;

TFilterauswahl::TFilterauswahl(platform::Services& services, int scaleSetting, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName("Filterauswahl");
    widgets::setHelpContext(this, kSelectionHelpContext);
    setWindowTitle("scelta cassa");
    setModal(true);

    heading_ = new QLabel(this);
    heading_->setObjectName("Label1");
    QFont headingFont = heading_->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading_->setFont(headingFont);

    available_ = new QListWidget(this);
    available_->setObjectName("SrcList");
    available_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    available_->setSortingEnabled(true);
    chosen_ = new QListWidget(this);
    chosen_->setObjectName("DstList");
    chosen_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    include_ = button("IncludeBtn", ">", this);
    includeAll_ = button("IncAllBtn", ">>", this);
    exclude_ = button("ExcludeBtn", "<", this);
    excludeAll_ = button("ExAllBtn", "<<", this);
    auto* ok = button("OKBtn", "OK", this);
    auto* cancel = button("CancelBtn", "annullare", this);
    details_ = new QCheckBox("visualizzazione dettagliata", this);
    details_->setObjectName("CheckBox1");
    connect(include_, &QPushButton::clicked, this, &TFilterauswahl::IncludeBtnClick);
    connect(includeAll_, &QPushButton::clicked, this, &TFilterauswahl::IncAllBtnClick);
    connect(exclude_, &QPushButton::clicked, this, &TFilterauswahl::ExcludeBtnClick);
    connect(excludeAll_, &QPushButton::clicked, this, &TFilterauswahl::ExAllBtnClick);
    connect(ok, &QPushButton::clicked, this, &TFilterauswahl::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &TFilterauswahl::CancelBtnClick);

    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* b : {include_, includeAll_, exclude_, excludeAll_}) moves->addWidget(b);
    moves->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(heading_, 0, 0, 1, 3);
    auto* srcLabel = new QLabel("casse / contocorrenti  esistenti", this);
    srcLabel->setObjectName("SrcLabel");
    auto* dstLabel = new QLabel("casse / contocorrenti scelte", this);
    dstLabel->setObjectName("DstLabel");
    grid->addWidget(srcLabel, 1, 0);
    grid->addWidget(dstLabel, 1, 2);
    grid->addWidget(available_, 2, 0);
    grid->addLayout(moves, 2, 1);
    grid->addWidget(chosen_, 2, 2);
    grid->addWidget(details_, 3, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    widgets::scaleWindow(this, scaleSetting);
    setWindowState(Qt::WindowMaximized);
}

void TFilterauswahl::setDetailVisible(bool visible) { details_->setVisible(visible); }

void TFilterauswahl::setDetailChecked(bool checked) { details_->setChecked(checked); }

TFilterauswahl::Choice TFilterauswahl::choose(bool accounts, const std::filesystem::path& chartPath) {
    accounts_ = accounts;
    chartPath_ = chartPath;
    choice_ = {};
    heading_->setText(accounts ? "Scegli i contocorrenti ..." : "Scegli le casse ...");
    fillLists();
    exec();
    return choice_;
}

void TFilterauswahl::fillLists() {
    const SelectionKind kind = accounts_ ? SelectionKind::Accounts : SelectionKind::CashBoxes;
    available_->clear();
    chosen_->clear();
    try {
        for (const std::string& line : availableLines(kind, chartPath_)) available_->addItem(qs(line));
    } catch (const std::exception& error) {
        services_.prompt.message(platform::PromptKind::Error, error.what());
    }
    if (available_->count() > 0) {
        available_->setCurrentRow(0);
    }
    updateButtons();
}

void TFilterauswahl::moveSelected(QListWidget* from, QListWidget* to) {
    int firstSelected = -1;
    for (int row = from->count() - 1; row >= 0; --row) {
        if (from->item(row)->isSelected()) {
            to->addItem(from->takeItem(row));
            firstSelected = row;
        }
    }
    to->clearSelection();
    if (firstSelected >= 0 && from->count() > 0) {
        from->setCurrentRow(std::min(firstSelected, from->count() - 1));
    }
    updateButtons();
}

void TFilterauswahl::moveAll(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) {
        to->addItem(from->takeItem(0));
    }
    to->clearSelection();
    updateButtons();
}

void TFilterauswahl::updateButtons() {
    include_->setEnabled(available_->count() > 0);
    includeAll_->setEnabled(available_->count() > 0);
    exclude_->setEnabled(chosen_->count() > 0);
    excludeAll_->setEnabled(chosen_->count() > 0);
}

void TFilterauswahl::IncludeBtnClick() { moveSelected(available_, chosen_); }
void TFilterauswahl::IncAllBtnClick() { moveAll(available_, chosen_); }
void TFilterauswahl::ExcludeBtnClick() { moveSelected(chosen_, available_); }
void TFilterauswahl::ExAllBtnClick() { moveAll(chosen_, available_); }

void TFilterauswahl::OKBtnClick() {
    if (static_cast<std::size_t>(chosen_->count()) > kMaxChosenLines) {
        services_.prompt.message(platform::PromptKind::Information, "Hai evidenziato troppi campi");
        fillLists();
        return;
    }
    const SelectionKind kind = accounts_ ? SelectionKind::Accounts : SelectionKind::CashBoxes;
    for (int row = 0; row < chosen_->count(); ++row) {
        choice_.keys.push_back(lineKey(kind, chosen_->item(row)->text().toStdString()));
    }
    choice_.details = details_->isChecked();
    if (choice_.keys.empty()) {
        services_.prompt.message(platform::PromptKind::Information,
                                 accounts_ ? "Devi scegliere un contocorrente." : "Devi scegliere una cassa.");
    }
    available_->clear();
    chosen_->clear();
    accept();
}

void TFilterauswahl::CancelBtnClick() {
    choice_ = {};
    available_->clear();
    chosen_->clear();
    reject();
}

}  // namespace quendra::printing
