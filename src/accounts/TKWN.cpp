#include "accounts/TKWN.h"

#include "accounts/account_picker.h"
#include "storage/opening_mark.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "widgets/WindowScaling.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/journal_record.h"
#include "widgets/QtHelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>
#include <functional>
#include <optional>

namespace quendra::accounts {

namespace {

using widgets::button;

// A list whose choice counts when the mouse button (and, where asked, a key) is
// released; Enter and a double click close the picker.
class PickerListWidget : public QListWidget {
public:
    PickerListWidget(const char* name, bool choosesOnKeyRelease, QWidget* parent)
        : QListWidget(parent), choosesOnKeyRelease_(choosesOnKeyRelease) {
        setObjectName(name);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setUniformItemSizes(true);
    }

    std::function<void()> onChoice;
    std::function<void()> onClose;
    std::vector<PickerEntry> shown;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QListWidget::mouseReleaseEvent(event);
        if (onChoice) onChoice();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QListWidget::mouseDoubleClickEvent(event);
        if (onClose) onClose();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            if (onClose) onClose();
            return;
        }
        QListWidget::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QListWidget::keyReleaseEvent(event);
        if (choosesOnKeyRelease_ && !event->isAutoRepeat() && onChoice) onChoice();
    }

private:
    bool choosesOnKeyRelease_;
};


}  // namespace

struct TKWN::Impl {
    Impl(state::MainState& s, platform::Services& sv) : state(s), services(sv) {}

    state::MainState& state;
    platform::Services& services;
    storage::Cursor* journal = nullptr;
    std::optional<AccountPicker> picker;

    std::array<PickerListWidget*, kPickerListCount> lists{};
    QWidget* cashGroupPanel = nullptr;
    QWidget* cashBoxPanel = nullptr;
    QCheckBox* eroeffnung = nullptr;
    QRadioButton* entrate = nullptr;
    QRadioButton* uscite = nullptr;
    QButtonGroup* sides = nullptr;
    QPushButton* ricerca = nullptr;
    QPushButton* chartEditor = nullptr;
    QGroupBox* searchPanel = nullptr;
    QLineEdit* searchText = nullptr;

    PickerListWidget* list(PickerList which) const { return lists[static_cast<std::size_t>(which)]; }

    void showError(const storage::DbError& error) {
        services.prompt.message(platform::PromptKind::Error, error.what());
    }
};

TKWN::TKWN(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), impl_(new Impl(state, services)) {
    setObjectName("TKWN");
    setWindowTitle("Scelta conti");

    struct ListSpec {
        PickerList which;
        const char* name;
        const char* title;
        bool keyChooses;
        void (TKWN::*handler)();
    };
    const std::array<ListSpec, kPickerListCount> specs = {{
        {PickerList::Type, "DBgride1a", "Tipo", true, &TKWN::DBgride1aMouseUp},
        {PickerList::MainAccount, "DBgride2a", "Conto", false, &TKWN::DBgride2aMouseUp},
        {PickerList::SubAccount, "DBgride3a", "Sottoconto", true, &TKWN::DBgride3aMouseUp},
        {PickerList::CashGroup, "DBgride4a", "Cassa-gruppo", false, &TKWN::DBgride4aMouseUp},
        {PickerList::CashBox, "DBGrid1", "Cassa-specificazione", false, &TKWN::DBGrid1MouseUp},
    }};
    std::array<QWidget*, kPickerListCount> panels{};
    for (const ListSpec& entry : specs) {
        auto* panel = new QWidget(this);
        auto* column = new QVBoxLayout(panel);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(new QLabel(entry.title, panel));
        auto* list = new PickerListWidget(entry.name, entry.keyChooses, panel);
        column->addWidget(list);
        const auto which = entry.which;
        const auto handler = entry.handler;
        list->onChoice = [this, handler] {
            if (impl_->picker) (this->*handler)();
        };
        list->onClose = [this] {
            if (impl_->picker) Button1Click();
        };
        connect(list, &QListWidget::currentRowChanged, this, [this, which](int row) {
            if (impl_->picker && row >= 0) impl_->picker->moveTo(which, std::size_t(row));
        });
        impl_->lists[static_cast<std::size_t>(which)] = list;
        panels[static_cast<std::size_t>(which)] = panel;
    }
    impl_->cashGroupPanel = panels[static_cast<std::size_t>(PickerList::CashGroup)];
    impl_->cashBoxPanel = panels[static_cast<std::size_t>(PickerList::CashBox)];

    auto* options = new QWidget(this);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    impl_->eroeffnung = new QCheckBox("prima apertura", options);
    impl_->eroeffnung->setObjectName("Eroeffnung");
    impl_->entrate = new QRadioButton("entrate", options);
    impl_->entrate->setObjectName("RadioEntrate");
    impl_->uscite = new QRadioButton("uscite", options);
    impl_->uscite->setObjectName("RadioUscite");
    impl_->sides = new QButtonGroup(this);
    impl_->sides->addButton(impl_->uscite, int(storage::journal::Side::Uscita));
    impl_->sides->addButton(impl_->entrate, int(storage::journal::Side::Entrata));
    optionsLayout->addWidget(impl_->eroeffnung);
    optionsLayout->addSpacing(12);
    optionsLayout->addWidget(impl_->entrate);
    optionsLayout->addWidget(impl_->uscite);
    optionsLayout->addStretch();

    auto* ok = button("Button1", "&OK", this);
    auto* annulla = button("Button6", "annulla", this);
    impl_->ricerca = button("Button5", "ricerca", this);
    impl_->chartEditor = button("Button7", "Cambiamento piano conti", this);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(annulla);
    buttons->addSpacing(12);
    buttons->addWidget(impl_->ricerca);
    buttons->addWidget(impl_->chartEditor);
    buttons->addStretch();

    impl_->searchPanel = new QGroupBox("ricerca di un oggetto o parte di oggeto", this);
    impl_->searchPanel->setObjectName("SearchPanel");
    auto* searchLayout = new QHBoxLayout(impl_->searchPanel);
    searchLayout->addWidget(new QLabel("oggetto", impl_->searchPanel));
    impl_->searchText = new QLineEdit(impl_->searchPanel);
    impl_->searchText->setObjectName("SearchText");
    searchLayout->addWidget(impl_->searchText, 1);
    auto* searchNext = button("Button3", "avanti ricerca", impl_->searchPanel);
    auto* searchCancel = button("Button4", "annulla", impl_->searchPanel);
    auto* searchExit = button("Button2", "uscita", impl_->searchPanel);
    searchLayout->addWidget(searchNext);
    searchLayout->addWidget(searchCancel);
    searchLayout->addWidget(searchExit);
    impl_->searchPanel->hide();

    auto* grid = new QGridLayout;
    grid->addWidget(panels[0], 0, 0);
    grid->addWidget(panels[1], 0, 1);
    grid->addWidget(panels[2], 0, 2);
    grid->addWidget(options, 1, 0);
    grid->addWidget(impl_->cashGroupPanel, 1, 1);
    grid->addWidget(impl_->cashBoxPanel, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(2, 5);
    grid->setRowStretch(0, 3);
    grid->setRowStretch(1, 2);

    auto* top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addWidget(impl_->searchPanel);

    connect(ok, &QPushButton::clicked, this, &TKWN::Button1Click);
    connect(annulla, &QPushButton::clicked, this, &TKWN::Button6Click);
    connect(impl_->ricerca, &QPushButton::clicked, this, &TKWN::Button5Click);
    connect(impl_->chartEditor, &QPushButton::clicked, this, &TKWN::Button7Click);
    connect(searchNext, &QPushButton::clicked, this, &TKWN::Button3Click);
    connect(impl_->searchText, &QLineEdit::returnPressed, this, &TKWN::Button3Click);
    connect(searchCancel, &QPushButton::clicked, this, &TKWN::Button4Click);
    connect(searchExit, &QPushButton::clicked, this, &TKWN::Button2Click);
    connect(impl_->eroeffnung, &QCheckBox::clicked, this, &TKWN::EroeffnungClick);
    connect(impl_->sides, &QButtonGroup::idClicked, this, &TKWN::sideChosen);

    resize(860, 520);
    widgets::scaleWindow(this, state.settings.scalePercent());
}

TKWN::~TKWN() { delete impl_; }

void TKWN::showFor(storage::Cursor& journal, bool openingChecked) {
    if (journal.recordNumber() == 0) return;
    impl_->journal = &journal;
    if (FormActivate(openingChecked)) exec();
    impl_->picker.reset();
    impl_->journal = nullptr;
}

bool TKWN::openingChecked() const { return impl_->eroeffnung->isChecked(); }

void TKWN::setSide(int ea) {
    QButtonGroup* sides = impl_->sides;
    sides->setExclusive(false);
    impl_->uscite->setChecked(ea == int(storage::journal::Side::Uscita));
    impl_->entrate->setChecked(ea == int(storage::journal::Side::Entrata));
    sides->setExclusive(true);
}

void TKWN::reloadLists() {
    if (!impl_->picker) return;
    try {
        impl_->picker->synchronise();
    } catch (const storage::DbError& error) {
        impl_->showError(error);
    }
    aktualisieren();
}

bool TKWN::FormActivate(bool openingChecked) {
    closeSearchPanel();
    storage::Cursor& journal = *impl_->journal;
    // Only the box's state is taken over: opening the picker must never mark a row.
    impl_->eroeffnung->setChecked(openingChecked);
    try {
        impl_->picker.emplace(impl_->state.chartPath(), journal.asText(storage::journal::kCod),
                              journal.asText(storage::journal::kCodd), openingChecked);
    } catch (const storage::DbError& error) {
        impl_->showError(error);
        return false;
    }
    aktualisieren();
    impl_->list(PickerList::SubAccount)->setFocus();
    return true;
}

void TKWN::aktualisieren() {
    const AccountPicker& picker = *impl_->picker;
    for (std::size_t i = 0; i < kPickerListCount; ++i) {
        PickerListWidget* list = impl_->lists[i];
        const PickerColumn& column = picker.column(PickerList(i));
        const QSignalBlocker blocker(list);
        if (list->shown != column.entries) {
            list->clear();
            for (const PickerEntry& entry : column.entries) list->addItem(QString::fromStdString(entry.shown));
            list->shown = column.entries;
        }
        list->setCurrentRow(column.current ? int(*column.current) : -1);
        if (column.current) list->scrollToItem(list->currentItem());
    }
    const bool cashVisible = picker.cashBoxesVisible();
    impl_->cashGroupPanel->setVisible(cashVisible);
    impl_->cashBoxPanel->setVisible(cashVisible);
}

void TKWN::DBgride1aMouseUp() {
    impl_->picker->choose(PickerList::Type);
    aktualisieren();
}

void TKWN::DBgride2aMouseUp() {
    impl_->picker->choose(PickerList::MainAccount);
    aktualisieren();
}

void TKWN::DBgride3aMouseUp() {
    impl_->picker->choose(PickerList::SubAccount);
    aktualisieren();
}

void TKWN::DBgride4aMouseUp() {
    impl_->picker->choose(PickerList::CashGroup);
    aktualisieren();
}

void TKWN::DBGrid1MouseUp() {
    impl_->picker->choose(PickerList::CashBox);
    aktualisieren();
}

void TKWN::finish(bool cancelled) {
    if (!impl_->picker) return;
    const PickerChoice choice = cancelled ? impl_->picker->cancelling() : impl_->picker->closing();
    try {
        writeChoice(*impl_->journal, choice);
    } catch (const storage::DbError& error) {
        impl_->showError(error);
    }
    impl_->picker.reset();
    QDialog::done(QDialog::Accepted);
}

void TKWN::Button1Click() { finish(false); }

void TKWN::Button6Click() { finish(true); }

void TKWN::reject() { Button1Click(); }

void TKWN::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Button6Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TKWN::Button5Click() {
    impl_->picker->startSearch();
    impl_->searchPanel->show();
    impl_->ricerca->hide();
    impl_->searchText->setFocus();
}

void TKWN::Button3Click() {
    if (!impl_->picker) return;
    if (!impl_->picker->searchNext(impl_->searchText->text().toStdString())) {
        impl_->services.prompt.message(platform::PromptKind::Information, std::string(kAccountSearchNotFound));
    }
    aktualisieren();
    impl_->searchText->setFocus();
}

void TKWN::Button4Click() {
    impl_->picker->cancelSearch();
    aktualisieren();
    closeSearchPanel();
}

void TKWN::Button2Click() {
    impl_->picker->endSearch();
    closeSearchPanel();
}

void TKWN::closeSearchPanel() {
    impl_->searchPanel->hide();
    impl_->ricerca->show();
}

void TKWN::Button7Click() {
    impl_->picker->releaseChart();
    emit chartEditorRequested();
    reloadLists();
}

void TKWN::EroeffnungClick() {
    const bool checked = impl_->eroeffnung->isChecked();
    bool marked = checked;
    try {
        marked = storage::journal::writeOpeningMark(*impl_->journal, checked);
    } catch (const storage::DbError& error) {
        impl_->showError(error);
        marked = impl_->journal->asInteger(storage::journal::kEroeffnung) == storage::journal::kOpeningMarker;
    }
    impl_->eroeffnung->setChecked(marked);
    impl_->picker->setOpening(marked);
    aktualisieren();
    emit openingMarkChanged(marked);
}

}  // namespace quendra::accounts
