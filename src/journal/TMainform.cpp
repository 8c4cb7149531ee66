#include "journal/TMainform.h"

#include "widgets/ElidedLabel.h"
#include "widgets/HelpKey.h"
#include "journal/JournalGridModel.h"
#include "journal/JournalGridView.h"
#include "journal/THilfe.h"
#include "widgets/OverlayField.h"
#include "widgets/WindowScaling.h"
#include "journal/activation.h"
#include "journal/entry_panel.h"
#include "journal/help.h"
#include "journal/journal_entry.h"
#include "state/title_line.h"
#include "storage/amount_format.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"
#include "storage/opening_mark.h"
#include "storage/settings_file.h"
#include "storage/year_files.h"
#include "widgets/QtHelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace quendra::journal {

using Side = storage::journal::Side;

namespace {

using widgets::qs;


// Letter, dash, two digits, dash, two digits; letters forced to capitals.
const QString kCodeMask = QStringLiteral(">A-99-99;_");
const QString kDateMask = QStringLiteral("00.00.0000;_");

// The five significant characters of a masked code field.
std::string typedCode(const QLineEdit* edit) {
    QString text = edit->text();
    text.remove(QLatin1Char('-'));
    text.remove(QLatin1Char('_'));
    return text.trimmed().toStdString();
}

// A stored code's five characters as the masked field shows them: "A-01-01".
QString codeForDisplay(const std::string& typed) {
    const QString code = qs(typed);
    if (code.trimmed().isEmpty()) return {};
    return code.size() == 5 ? code.left(1) + "-" + code.mid(1, 2) + "-" + code.mid(3, 2) : code;
}

QLabel* caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

TMainform::TMainform(state::MainState& state, platform::Services& services, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(services), year_(std::make_unique<YearCursors>()) {
    setObjectName("Mainform");
    setWindowTitle(qs(state::kMainCaption));
    state_.proposedDate = services_.clock.today();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(6);

    // A long parish name ends in "…" rather than widening the window past the screen.
    title_ = new widgets::ElidedLabel("TitleLine");
    title_->setText(qs(state::kInitialTitleLine));
    title_->setFrameStyle(QFrame::NoFrame);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    if (titleFont.pointSizeF() > 0) titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    title_->setFont(titleFont);
    title_->setAutoFillBackground(true);
    QPalette titlePalette = title_->palette();
    titlePalette.setColor(QPalette::Window, QColor(0x1f, 0x3a, 0x68));
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    title_->setPalette(titlePalette);
    title_->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(title_);

    auto* top = new QHBoxLayout;
    auto* panel = new QFrame;
    panel->setObjectName("EntryPanel");
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    createPanel(panel);
    top->addWidget(panel, 1);
    top->addWidget(createButtons());
    layout->addLayout(top);

    grid_ = new JournalGridView;
    grid_->setObjectName("DBGrid1");
    model_ = new JournalGridModel(year_->listing, this);
    grid_->setModel(model_);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TMainform::DBGrid1RowChosen);
    connect(grid_, &JournalGridView::deleteRequested, this, &TMainform::DBGrid1CtrlDelete);
    layout->addWidget(grid_, 1);
    setCentralWidget(central);
    createMenu();

    setTabOrder(date_->dataField(), dateButton_);
    setTabOrder(dateButton_, text_);
    setTabOrder(text_, account_->dataField());
    setTabOrder(account_->dataField(), cashBox_->dataField());
    setTabOrder(cashBox_->dataField(), amount_->dataField());
    setTabOrder(amount_->dataField(), entrata_);

    if (state_.programDir.empty()) state_.programDir = storage::programDirectory();
    state_.dataDir = storage::dataDirectory(state_.programDir);
    state_.settings = storage::readSettings(state_.dataDir / storage::kSettingsFileName);
    enableWindows();
    // The help key of every window is the main window's: it knows the program directory.
    new widgets::HelpKey([this](std::optional<int> context) { showHelp(context); }, this);
    widgets::setHelpContext(this, kHelpMainWindow);
    widgets::setHelpContext(date_, kHelpDateField);
    widgets::setHelpContext(text_, kHelpTextAndAmount);
    widgets::setHelpContext(amount_, kHelpTextAndAmount);
    widgets::setHelpContext(account_, kHelpAccountAndCashBox);
    widgets::setHelpContext(cashBox_, kHelpAccountAndCashBox);
    resize(1000, 680);
    // The list's header and the menus take their fonts from the desktop's theme, not
    // from the window: they get the window's own so that they scale with it.
    QFont own = font();
    own.setFamily(own.family());  // marks the font as set, which the scaling looks for
    own.setPointSizeF(own.pointSizeF());
    grid_->horizontalHeader()->setFont(own);
    menuBar()->setFont(own);
    widgets::scaleWindow(this, state_.settings.scalePercent());
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) menu->setFont(menuBar()->font());
    sizeFields();
}

void TMainform::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange) sizeFields();
}

void TMainform::sizeFields() {
    const int charWidth = fontMetrics().averageCharWidth();
    const int margins = 2 * (fontMetrics().height() / 2 + 2);
    number_->setFixedWidth(charWidth * 7 + margins);
    date_->setFixedWidth(fontMetrics().horizontalAdvance("00.00.00000") + margins);
    dateButton_->setFixedWidth(fontMetrics().horizontalAdvance("...") + margins);
    // As narrow as their captions: the style's wider minimum would widen the panel.
    for (QPushButton* picker : pickerButtons_) picker->setFixedWidth(fontMetrics().horizontalAdvance(picker->text()) + margins);
    for (widgets::OverlayField* code : {account_, cashBox_}) code->setFixedWidth(fontMetrics().horizontalAdvance("W-00-000") + margins);
    amount_->setFixedWidth(fontMetrics().horizontalAdvance("-000.000.000,00") + margins);
    text_->setMinimumWidth(charWidth * 16);
}

TMainform::~TMainform() {
    // The list reads through the year's cursors: it goes before they do.
    grid_->setModel(nullptr);
    delete model_;
}

void TMainform::createPanel(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    number_ = new QLineEdit;
    number_->setObjectName("DBEditnummer");
    number_->setReadOnly(true);
    number_->setFocusPolicy(Qt::NoFocus);
    number_->setAlignment(Qt::AlignRight);
    grid->addWidget(caption("numero", number_), 0, 0);
    grid->addWidget(number_, 0, 1);

    date_ = new widgets::OverlayField("DBEditdatum", "Editdatum");
    date_->editField()->setInputMask(kDateMask);
    dateButton_ = new QPushButton("...");
    dateButton_->setObjectName("ButtonDatum");
    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(2);
    dateRow->addWidget(caption("data", date_->dataField()));
    dateRow->addWidget(date_);
    dateRow->addWidget(dateButton_);
    dateRow->addStretch();
    grid->addLayout(dateRow, 0, 2);

    text_ = new QLineEdit;
    text_->setObjectName("DBEdittext");
    text_->setMaxLength(63);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(caption("causale", text_));
    textRow->addWidget(text_, 1);
    grid->addLayout(textRow, 0, 3);

    account_ = new widgets::OverlayField("DBEditcod", "Editkonto");
    account_->editField()->setInputMask(kCodeMask);
    account_->setToolTip("Conto: codice di cinque caratteri (una lettera e quattro cifre)");
    grid->addWidget(caption("codice", account_->dataField()), 1, 0);
    grid->addWidget(account_, 1, 1);
    auto* pickers = new QHBoxLayout;
    pickers->setSpacing(2);
    for (const auto& [text, name] : {std::pair{"tipo", "ButtonTipo"}, std::pair{"conto", "ButtonConto"},
                                      std::pair{"sottoconto", "ButtonSottoconto"}}) {
        auto* picker = new QPushButton(text);
        picker->setObjectName(name);
        pickerButtons_.push_back(picker);
        connect(picker, &QPushButton::clicked, this, [this] { PickerButtonClick(); });
        pickers->addWidget(picker);
    }
    pickers->addStretch();
    grid->addLayout(pickers, 1, 2);
    accountType_ = new widgets::ElidedLabel("DBTexttexta");
    accountMain_ = new widgets::ElidedLabel("DBTexttexth");
    accountName_ = new widgets::ElidedLabel("DBTexttext");
    auto* accountTexts = new QHBoxLayout;
    accountTexts->addWidget(accountType_, 2);
    accountTexts->addWidget(accountMain_, 4);
    accountTexts->addWidget(accountName_, 5);
    grid->addLayout(accountTexts, 1, 3);

    auto* cashButton = new QPushButton("cassa");
    cashButton->setObjectName("ButtonCassa");
    pickerButtons_.push_back(cashButton);
    connect(cashButton, &QPushButton::clicked, this, [this] { PickerButtonClick(); });
    cashBox_ = new widgets::OverlayField("DBEditcodd", "Editkasse");
    cashBox_->editField()->setInputMask(kCodeMask);
    cashBox_->setToolTip("Cassa o banca: codice di cinque caratteri (una lettera e quattro cifre)");
    grid->addWidget(cashButton, 2, 0);
    grid->addWidget(cashBox_, 2, 1);
    cashBoxText_ = new widgets::ElidedLabel("DBTextkasse");
    listOrder_ = new QComboBox;
    listOrder_->setObjectName("ListOrder");
    for (const std::string_view name : kListOrderNames) listOrder_->addItem(qs(name));
    auto* cashRow = new QHBoxLayout;
    cashRow->addWidget(cashBoxText_, 1);
    cashRow->addWidget(listOrder_);
    grid->addLayout(cashRow, 2, 2, 1, 2);

    amount_ = new widgets::OverlayField("DBEditbetrag", "Editbetrag");
    amount_->dataField()->setAlignment(Qt::AlignRight);
    amount_->editField()->setAlignment(Qt::AlignRight);
    grid->addWidget(caption("importo", amount_->dataField()), 3, 0);
    grid->addWidget(amount_, 3, 1);
    entrata_ = new QRadioButton("entrata");
    entrata_->setObjectName("RadioEntrata");
    uscita_ = new QRadioButton("uscita");
    uscita_->setObjectName("RadioUscita");
    side_ = new QButtonGroup(this);
    side_->addButton(entrata_, int(Side::Entrata));
    side_->addButton(uscita_, int(Side::Uscita));
    auto* sides = new QHBoxLayout;
    sides->addWidget(entrata_);
    sides->addWidget(uscita_);
    sides->addStretch();
    grid->addLayout(sides, 3, 2);
    opening_ = new QCheckBox("prima apertura");
    opening_->setObjectName("CheckPrimaApertura");
    amountType_ = new widgets::ElidedLabel("DBTextbetragtexta");
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(opening_);
    amountRow->addWidget(amountType_, 1);
    grid->addLayout(amountRow, 3, 3);
    grid->setColumnStretch(3, 1);

    connect(date_, &widgets::OverlayField::entered, this, &TMainform::DBEditdatumEnter);
    connect(date_, &widgets::OverlayField::committed, this, [this] {
        if (EditdatumExit()) date_->finish(text_);
    });
    connect(date_, &widgets::OverlayField::left, this, [this] {
        if (EditdatumExit()) date_->finish();
    });
    connect(dateButton_, &QPushButton::clicked, this, &TMainform::ButtonDatumClick);
    connect(text_, &QLineEdit::textEdited, this, &TMainform::DBEdittextChanged);
    connect(text_, &QLineEdit::returnPressed, this, [this] { account_->dataField()->setFocus(); });
    connect(account_, &widgets::OverlayField::entered, this, &TMainform::DBEditcodEnter);
    connect(account_, &widgets::OverlayField::committed, this, [this] {
        if (EditkontoExit()) account_->finish(cashBox_->dataField());
    });
    connect(account_, &widgets::OverlayField::left, this, [this] {
        if (EditkontoExit()) account_->finish();
    });
    connect(cashBox_, &widgets::OverlayField::entered, this, &TMainform::DBEditcoddEnter);
    connect(cashBox_, &widgets::OverlayField::committed, this, [this] {
        if (EditkasseExit()) cashBox_->finish(amount_->dataField());
    });
    connect(cashBox_, &widgets::OverlayField::left, this, [this] {
        if (EditkasseExit()) cashBox_->finish();
    });
    connect(amount_, &widgets::OverlayField::entered, this, &TMainform::DBEditbetragEnter);
    connect(amount_, &widgets::OverlayField::committed, this, [this] {
        if (!EditbetragExit()) return;
        amount_->finish();
        afterAmount();
    });
    connect(amount_, &widgets::OverlayField::left, this, [this] {
        if (!EditbetragExit()) return;
        amount_->finish();
        // Adding mode goes on however the amount is left, once the focus has moved; a
        // command the user chose meanwhile takes its place (settleEdits).
        if (!state_.addingMode) return;
        nextMovementPending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (std::exchange(nextMovementPending_, false) && state_.addingMode && !ending_) newMovementAndStartDate();
        });
    });
    connect(entrata_, &QRadioButton::clicked, this, &TMainform::RadioEntrataClick);
    connect(uscita_, &QRadioButton::clicked, this, &TMainform::RadioUscitaClick);
    connect(opening_, &QCheckBox::clicked, this, &TMainform::CheckPrimaAperturaClick);
    connect(listOrder_, &QComboBox::activated, this, &TMainform::ListOrderChange);
}

QPushButton* TMainform::button(const QString& text, const QString& name, void (TMainform::*handler)()) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

QWidget* TMainform::createButtons() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    grid->addWidget(button("&nuovo record", "ButtonNewRecord", &TMainform::NuovoRecordClick), 0, 0);
    grid->addWidget(button("&elimina record", "ButtonDeleteRecord", &TMainform::EliminaRecordClick), 1, 0);
    grid->addWidget(button("&ricerca", "ButtonSearch", &TMainform::RicercaClick), 2, 0);
    grid->addWidget(button("&visualizza-stampa", "ButtonPrint", &TMainform::StampaClick), 3, 0);
    grid->addWidget(button("situazione &patrimoniale", "ButtonBalance", &TMainform::PatrimonialeClick), 4, 0);
    grid->addWidget(button("&cambia esercizio", "ButtonChangeYear", &TMainform::CambiareAnnoClick), 0, 1);
    grid->addWidget(button("&salvataggio dati", "ButtonSaveData", &TMainform::SalvataggioClick), 1, 1);
    grid->addWidget(button("&manuale", "ButtonManual", &TMainform::ManualeClick), 2, 1);
    grid->addWidget(button("indicazioni", "ButtonGuidelines", &TMainform::IndicazioniClick), 3, 1);
    grid->addWidget(button("&fine", "ButtonQuit", &TMainform::FineClick), 4, 1);
    for (QPushButton* b : box->findChildren<QPushButton*>()) b->setAutoDefault(false);
    return box;
}

QAction* TMainform::menuAction(QMenu* menu, const QString& text, const QString& name, void (TMainform::*handler)()) {
    QAction* action = menu ? menu->addAction(text) : menuBar()->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TMainform::createMenu() {
    QMenu* file = menuBar()->addMenu("File");
    menuAction(file, "cambiare l'anno", "ActionChangeYear", &TMainform::CambiareAnnoClick);
    menuAction(file, "salvataggio anno attuale", "ActionSaveYear", &TMainform::SalvataggioClick);
    menuAction(file, "esportazione cartella di lavoro (Excel)", "ActionWorkbookExport", &TMainform::EsportazioneClick);
    menuAction(file, "RIORGANIZZAZIONE", "ActionReorganize", &TMainform::RiorganizzazioneClick);
    menuAction(file, "fine", "ActionQuit", &TMainform::FineClick);
    QMenu* extra = menuBar()->addMenu("Extra");
    menuAction(extra, "importo anno salvato", "ActionRestoreYear", &TMainform::ImportoAnnoClick);
    menuAction(extra, "cancella anno", "ActionDeleteYear", &TMainform::CancellaAnnoClick);
    menuAction(extra, "cambiamento piano conti", "ActionChartEditor", &TMainform::CambiamentoPianoContiClick);
    menuAction(extra, "importo piano conti", "ActionChartImport", &TMainform::ImportoPianoContiClick);
    menuAction(extra, "Importa estratto conto", "ActionStatementImport", &TMainform::ImportaEstrattoClick);
    menuAction(extra, "Preventivo", "ActionBudget", &TMainform::PreventivoClick);
    menuAction(nullptr, "Impostazioni", "ActionSettings", &TMainform::ImpostazioniClick);
    menuAction(nullptr, "Calcolatrice", "ActionCalculator", &TMainform::CalcolatriceClick);
    QMenu* help = menuBar()->addMenu("Aiuto");
    menuAction(help, "guida del programma (F1)", "ActionGuide", &TMainform::GuidaClick);
    menuAction(help, "manuale", "ActionManual", &TMainform::ManualeClick);
    menuAction(help, "info", "ActionInfo", &TMainform::InfoClick);
    menuAction(nullptr, "UPDATE", "ActionUpdate", &TMainform::UpdateClick);
}

void TMainform::setWindows(MainformWindows windows) {
    windows_ = std::move(windows);
    enableWindows();
}

void TMainform::enableWindows() {
    const auto enable = [this](const char* name, bool on) {
        if (auto* action = findChild<QAction*>(name)) action->setEnabled(on);
        if (auto* widget = findChild<QWidget*>(name)) widget->setEnabled(on);
    };
    const MainformWindows& w = windows_;
    for (const char* name : {"ActionChangeYear", "ButtonChangeYear"}) enable(name, bool(w.changeYear));
    for (const char* name : {"ActionSaveYear", "ButtonSaveData"}) enable(name, bool(w.saveYearCopy));
    enable("ActionRestoreYear", bool(w.restoreSavedYear));
    enable("ActionDeleteYear", bool(w.deleteYear));
    enable("ActionChartEditor", bool(w.chartEditor));
    enable("ActionChartImport", bool(w.chartImport));
    enable("ActionStatementImport", bool(w.statementImport));
    enable("ActionBudget", bool(w.budget));
    enable("ActionSettings", bool(w.settingsDialog));
    enable("ActionCalculator", bool(w.calculator));
    enable("ActionInfo", bool(w.info));
    enable("ActionUpdate", bool(w.programUpdate));
    enable("ActionWorkbookExport", bool(w.workbookExport));
    enable("ButtonPrint", bool(w.printWindow));
    enable("ButtonSearch", bool(w.search));
    enable("ButtonBalance", bool(w.balanceSummary));
    enable("ButtonDatum", bool(w.datePicker));
    for (const char* name : {"ButtonTipo", "ButtonConto", "ButtonSottoconto", "ButtonCassa", "CheckPrimaApertura"}) {
        enable(name, bool(w.accountPicker));
    }
}

void TMainform::closeYearTables() {
    year_->closeAll();
    reloadList();
}

void TMainform::endProgram() {
    ending_ = true;
    year_->closeAll();
    reloadList();
    services_.shell.quit();
}

EntryContext TMainform::context() { return {state_, services_, *year_}; }

bool TMainform::guarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const storage::MissingYearFile& missing) {
        services_.prompt.message(platform::PromptKind::Error,
                                 storage::missingYearFileMessage(missing.fileName(), state_.settings.server));
        endProgram();
        return false;
    } catch (const storage::DbError& error) {
        services_.prompt.message(platform::PromptKind::Error, error.what());
    } catch (const storage::YearFileError& error) {
        services_.prompt.message(platform::PromptKind::Error, error.what());
    } catch (const std::exception&) {
        services_.prompt.message(platform::PromptKind::Error, "Operazione non riuscita per un errore interno del programma.");
    }
    // A half-written row must not be posted by the next move of the cursor.
    year_->journal.cancel();
    try {
        reloadList();
        showCurrentRow();
    } catch (const std::exception&) {
        // The error was shown; the panel keeps what it showed.
    }
    return false;
}

// ---- Activation and closing -------------------------------------------------------------

void TMainform::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!activated_) {
        activated_ = true;
        QTimer::singleShot(0, this, &TMainform::FormActivate);
    }
}

void TMainform::FormActivate() {
    activated_ = true;
    for (widgets::OverlayField* field : {date_, account_, cashBox_, amount_}) field->finish();
    ActivationHooks hooks;
    hooks.chooseYear = windows_.changeYear;
    hooks.restoreDamagedYear = windows_.restoreDamagedYear;
    ActivationResult result = ActivationResult::Ready;
    EntryContext entry = context();
    const bool opened = guarded([&] { result = activate(entry, hooks); });
    if (ending_) return;
    if (opened && result == ActivationResult::NoYear) {
        // With the year dialog there the user chose to leave; without it, say why.
        if (!windows_.changeYear) services_.prompt.message(platform::PromptKind::Warning, noYearMessage(state_));
        endProgram();
        return;
    }
    listOrder_->setCurrentIndex(int(ListOrder::ByNumber));
    reloadList();
    showTitle();
    showCurrentRow();
    focusDate();
}

void TMainform::closeEvent(QCloseEvent* event) {
    if (!ending_) {
        settleEdits();
        EntryContext entry = context();
        guarded([&] { closeYear(entry); });
    }
    event->accept();
}

// ---- Showing the row --------------------------------------------------------------------

void TMainform::showTitle() { title_->setText(qs(state_.titleLine)); }

void TMainform::reloadList() { model_->reload(); }

void TMainform::rowChangedInPlace() { model_->rowChanged(year_->journal.recordNumber()); }

void TMainform::showCurrentRow() {
    const EntryPanel panel = readEntryPanel(*year_);
    number_->setText(qs(panel.number));
    date_->setValue(qs(panel.date));
    if (text_->text() != qs(panel.text)) text_->setText(qs(panel.text));
    text_->setEnabled(panel.hasRow);
    account_->setValue(codeForDisplay(panel.account));
    cashBox_->setValue(codeForDisplay(panel.cashBox));
    amount_->setValue(qs(panel.amount));
    accountType_->setText(qs(panel.accountType));
    accountMain_->setText(qs(panel.accountMain));
    accountName_->setText(qs(panel.accountName));
    cashBoxText_->setText(qs(panel.cashBoxDescription));
    amountType_->setText(qs(panel.accountType));
    side_->setExclusive(false);
    entrata_->setChecked(panel.side == Side::Entrata);
    uscita_->setChecked(panel.side == Side::Uscita);
    side_->setExclusive(true);
    opening_->setChecked(panel.opening);
    emit sideChanged(int(panel.side));

    // The selection model's signals reach the list, which repaints the rows they name;
    // DBGrid1RowChosen finds the journal already on the row.
    const int row = model_->rowOf(year_->journal.recordNumber());
    if (row < 0) {
        grid_->clearSelection();
        return;
    }
    grid_->showRow(row);
}

void TMainform::journalMoved() { showCurrentRow(); }

void TMainform::DBGrid1RowChosen() {
    const std::uint32_t record = model_->recordAt(grid_->currentIndex().row());
    if (record == 0 || record == year_->journal.recordNumber()) return;
    // An edit still open here held text that could not be stored; it belongs to the old row.
    for (widgets::OverlayField* field : {date_, account_, cashBox_, amount_}) {
        if (field->isEditing()) field->finish();
    }
    guarded([&] { year_->journal.gotoRecord(record); });
    showCurrentRow();
}

void TMainform::backFromDialog() {
    // Not every desktop gives the activation back to the window a modal dialog came
    // from, and the cursor is to go on in this window.
    activateWindow();
}

void TMainform::focusDate() {
    if (!year_->hasRow()) return;
    date_->dataField()->setFocus();
    if (!date_->isEditing()) DBEditdatumEnter();
}

void TMainform::focusAmount() {
    if (!year_->hasRow()) return;
    amount_->dataField()->setFocus();
    if (!amount_->isEditing()) DBEditbetragEnter();
}

bool TMainform::settleEdits() {
    nextMovementPending_ = false;
    if (date_->isEditing() && EditdatumExit()) date_->finish();
    if (account_->isEditing() && EditkontoExit()) account_->finish();
    if (cashBox_->isEditing() && EditkasseExit()) cashBox_->finish();
    if (amount_->isEditing() && EditbetragExit()) amount_->finish();
    return !date_->isEditing() && !account_->isEditing() && !cashBox_->isEditing() && !amount_->isEditing();
}

// ---- Journal entry ----------------------------------------------------------------------

void TMainform::NuovoRecordClick() {
    if (!settleEdits()) return;
    newMovementAndStartDate();
}

void TMainform::newMovementAndStartDate() {
    nextMovementPending_ = false;
    EntryContext entry = context();
    bool added = false;
    guarded([&] { added = newMovement(entry); });
    if (ending_) return;
    if (added) {
        listOrder_->setCurrentIndex(int(ListOrder::ByNumber));
        reloadList();
        showTitle();
    }
    showCurrentRow();
    focusDate();
}

void TMainform::EliminaRecordClick() {
    if (!settleEdits()) return;
    EntryContext entry = context();
    guarded([&] { deleteMovement(entry); });
    reloadList();
    showTitle();
    showCurrentRow();
}

void TMainform::DBGrid1CtrlDelete() {
    if (!settleEdits()) return;
    EntryContext entry = context();
    guarded([&] { deleteMovementFromList(entry); });
    reloadList();
    showCurrentRow();
}

void TMainform::DBEditdatumEnter() {
    if (year_->hasRow()) date_->begin(qs(dateForEditing(*year_)));
}

bool TMainform::EditdatumExit() {
    EntryContext entry = context();
    StepResult result = StepResult::NoRow;
    if (!guarded([&] { result = storeDate(entry, date_->editField()->text().toStdString()); })) {
        date_->finish();
        return false;
    }
    if (result == StepResult::Invalid) {
        date_->begin(qs(dateForEditing(*year_)));
        return false;
    }
    reloadList();
    showCurrentRow();
    return true;
}

void TMainform::ButtonDatumClick() {
    if (!windows_.datePicker || !year_->hasRow()) return;
    date_->finish();  // the picked date takes the place of whatever the date field holds
    if (!settleEdits()) return;
    storage::Date date = year_->journal.asDate(storage::journal::kDatum);
    const bool chosen = windows_.datePicker(date);
    backFromDialog();
    if (!chosen) return;
    EntryContext entry = context();
    if (guarded([&] { storeChosenDate(entry, date); })) {
        reloadList();
        showCurrentRow();
        text_->setFocus();
    }
}

void TMainform::DBEdittextChanged() {
    EntryContext entry = context();
    if (guarded([&] { storeText(entry, text_->text().toStdString()); })) rowChangedInPlace();
}

void TMainform::DBEditcodEnter() {
    if (year_->hasRow()) account_->begin(qs(accountForEditing(*year_)));
}

bool TMainform::EditkontoExit() {
    EntryContext entry = context();
    StepResult result = StepResult::NoRow;
    const bool stored = guarded([&] { result = storeAccount(entry, typedCode(account_->editField())); });
    if (!stored || result == StepResult::OpenPicker) {
        account_->finish();
        if (stored) openAccountPicker(opening_->isChecked());
        return false;
    }
    reloadList();
    showCurrentRow();
    return true;
}

void TMainform::DBEditcoddEnter() {
    if (year_->hasRow()) cashBox_->begin(qs(cashBoxForEditing(*year_)));
}

bool TMainform::EditkasseExit() {
    EntryContext entry = context();
    StepResult result = StepResult::NoRow;
    const bool stored = guarded([&] { result = storeCashBox(entry, typedCode(cashBox_->editField())); });
    if (!stored || result == StepResult::OpenPicker) {
        cashBox_->finish();
        if (stored) openAccountPicker(opening_->isChecked());
        return false;
    }
    reloadList();
    showCurrentRow();
    return true;
}

void TMainform::DBEditbetragEnter() {
    if (year_->hasRow()) amount_->begin(qs(amountForEditing(*year_)));
}

bool TMainform::EditbetragExit() {
    EntryContext entry = context();
    StepResult result = StepResult::NoRow;
    if (!guarded([&] { result = storeAmount(entry, amount_->editField()->text().toStdString()); })) {
        amount_->finish();
        return false;
    }
    if (result == StepResult::Invalid) {
        // The typed text stays, selected, for the user to put right.
        amount_->begin(amount_->editField()->text());
        return false;
    }
    rowChangedInPlace();
    showCurrentRow();
    return true;
}

void TMainform::afterAmount() {
    if (state_.addingMode) newMovementAndStartDate();
    else focusDate();
}

void TMainform::PickerButtonClick() {
    if (!settleEdits()) return;
    openAccountPicker(opening_->isChecked());
}

void TMainform::openAccountPicker(bool openingChecked) {
    if (windows_.accountPicker && year_->hasRow()) {
        EntryContext entry = context();
        guarded([&] {
            windows_.accountPicker(year_->journal, openingChecked);
            decideSideAfterPicker(entry);
        });
        backFromDialog();
        reloadList();
        showCurrentRow();
    }
    focusAmount();
}

void TMainform::sideChosen(int ea) {
    EntryContext entry = context();
    if (guarded([&] { switchSide(entry, Side(ea)); })) {
        rowChangedInPlace();
        showCurrentRow();
    }
}

void TMainform::RadioEntrataClick() { sideChosen(int(Side::Entrata)); }

void TMainform::RadioUscitaClick() { sideChosen(int(Side::Uscita)); }

void TMainform::openingMarkChanged(bool checked) { opening_->setChecked(checked); }

void TMainform::CheckPrimaAperturaClick() {
    // The click has flipped the box; storing a field still open must not flip it back.
    const bool wanted = opening_->isChecked();
    if (!settleEdits()) {
        opening_->setChecked(!wanted);
        return;
    }
    if (year_->hasRow()) {
        if (!guarded([&] { storage::journal::writeOpeningMark(year_->journal, wanted); })) return;
        rowChangedInPlace();
    }
    openAccountPicker(wanted);
}

// The current row stays current, so an edit still open on it stays open too.
void TMainform::ListOrderChange(int index) {
    EntryContext entry = context();
    guarded([&] { setListOrder(entry, ListOrder(index)); });
    reloadList();
    showCurrentRow();
}

// ---- Menu and buttons -------------------------------------------------------------------

void TMainform::CambiareAnnoClick() {
    if (!windows_.changeYear) return;
    if (!settleEdits()) return;
    year_->closeCharts();
    if (!windows_.changeYear()) {
        endProgram();
        return;
    }
    FormActivate();
}

void TMainform::SalvataggioClick() {
    if (!windows_.saveYearCopy) return;
    if (!settleEdits()) return;
    windows_.saveYearCopy();
}

void TMainform::RiorganizzazioneClick() {
    if (!settleEdits()) return;
    EntryContext entry = context();
    guarded([&] { reorganize(entry); });
    if (ending_) return;
    reloadList();
    showCurrentRow();
}

void TMainform::FineClick() { close(); }

void TMainform::ImportoAnnoClick() {
    if (!windows_.restoreSavedYear) return;
    if (!settleEdits()) return;
    closeYearTables();
    if (!windows_.restoreSavedYear()) {
        endProgram();
        return;
    }
    FormActivate();
}

void TMainform::CancellaAnnoClick() {
    if (!windows_.deleteYear) return;
    if (!settleEdits()) return;
    closeYearTables();
    if (!windows_.deleteYear()) {
        endProgram();
        return;
    }
    if (!currentJournalExists(state_)) {
        FormActivate();
        return;
    }
    guarded([&] {
        year_->openJournal(journalFile(state_));
        year_->openCharts(chartFile(state_));
    });
    reloadList();
    showCurrentRow();
}

void TMainform::CambiamentoPianoContiClick() {
    if (!windows_.chartEditor) return;
    if (!settleEdits()) return;
    year_->closeCharts();
    windows_.chartEditor();
    guarded([&] { year_->openCharts(chartFile(state_)); });
    showCurrentRow();
}

void TMainform::ImportoPianoContiClick() {
    if (!windows_.chartImport) return;
    if (!settleEdits()) return;
    year_->closeCharts();
    windows_.chartImport();
    guarded([&] { year_->openCharts(chartFile(state_)); });
    FormActivate();
}

void TMainform::ImportaEstrattoClick() {
    if (!windows_.statementImport || !year_->journal.isOpen()) return;
    if (!settleEdits()) return;
    if (windows_.statementImport()) {
        guarded([&] {
            const std::size_t count = year_->journal.recordCount();
            state_.movementCount = std::to_string(count);
            state_.titleLine = state::movementsTitle(state_.titlePrefix, count);
        });
        showTitle();
        reloadList();
    }
    showCurrentRow();
    backFromDialog();
}

void TMainform::PreventivoClick() {
    if (windows_.budget) windows_.budget();
}

void TMainform::ImpostazioniClick() {
    if (windows_.settingsDialog) windows_.settingsDialog();
}

void TMainform::CalcolatriceClick() {
    if (!windows_.calculator) return;
    if (!settleEdits()) return;
    const std::optional<double> value = windows_.calculator();
    backFromDialog();
    if (!value || !year_->hasRow()) {
        focusAmount();
        return;
    }
    amount_->dataField()->setFocus();
    amount_->begin(qs(storage::formatNumber(*value, storage::Picture::EditAmount)));
}

void TMainform::InfoClick() {
    if (windows_.info) windows_.info();
}

void TMainform::ManualeClick() {
    if (!openManual(state_, services_, transfer::kManual)) GuidaClick();
}

void TMainform::IndicazioniClick() {
    if (!openManual(state_, services_, transfer::kGuidelines)) GuidaClick();
}

void TMainform::GuidaClick() { showManualPage(qs(kManualContents), {}); }

void TMainform::showHelp(std::optional<int> context) {
    if (openHelpFile(state_, services_, context)) return;
    const ManualPlace place = manualPlace(context);
    showManualPage(qs(place.page), qs(place.anchor));
}

void TMainform::showManualPage(const QString& page, const QString& anchor) {
    const std::filesystem::path file = manualFolder(state_) / page.toStdString();
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(file, ignored)) {
        services_.prompt.message(platform::PromptKind::Information, builtInManualMissingMessage(state_));
        return;
    }
    if (!help_) help_ = new THilfe(this);
    help_->showPage(QString::fromStdString(file.string()), anchor);
}

void TMainform::EsportazioneClick() {
    if (!windows_.workbookExport) return;
    if (!settleEdits()) return;
    windows_.workbookExport();
}

void TMainform::UpdateClick() {
    if (windows_.programUpdate) windows_.programUpdate();
}

void TMainform::StampaClick() {
    if (!windows_.printWindow) return;
    if (!settleEdits()) return;
    windows_.printWindow();
}

void TMainform::RicercaClick() {
    if (!windows_.search) return;
    if (!settleEdits()) return;
    guarded([&] { windows_.search(year_->journal); });
    backFromDialog();
    showCurrentRow();
}

void TMainform::PatrimonialeClick() {
    if (!windows_.balanceSummary) return;
    if (!settleEdits()) return;
    windows_.balanceSummary();
}

}  // namespace quendra::journal
