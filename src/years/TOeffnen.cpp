#include "years/TOeffnen.h"

#include "budget/budget_figures.h"
#include "widgets/WindowScaling.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"
#include "storage/year_files.h"
#include "years/carry_forward.h"
#include "years/delete_year.h"
#include "years/import_year.h"
#include "years/new_year.h"
#include "years/open_year.h"
#include "years/parish_data.h"
#include "years/save_copy.h"
#include "years/year_list.h"
#include "years/year_messages.h"
#include "years/year_tables.h"
#include "widgets/QtHelpers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardPaths>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <string_view>

namespace quendra::years {

using platform::PromptKind;

namespace {

using widgets::qs;

constexpr std::string_view kUnexpectedError = "Errore imprevisto: l'operazione non è stata eseguita.";

enum class CarryMode { NewYear = 0, Update = 1, IntoExisting = 2 };


std::filesystem::path pathOf(const QString& text) { return std::filesystem::path(text.toStdString()); }

QPushButton* makeButton(const QString& caption, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter in the fields has its own meaning; it must not also press a default button.
    button->setAutoDefault(false);
    return button;
}

QFrame* makePanel(const QString& name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->hide();
    return panel;
}

// Under the empty list of a first start.
const QString kNoYearYetHint =
    QStringLiteral("Nessun esercizio ancora: premere \"nuovo esercizio\", poi \"prima apertura nuovo esercizio\".");

// Saved years go where the user keeps documents, never into the hidden data folder.
QString documentsFolder() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

QLabel* makeTitle(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QComboBox* makeYearBox(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(34);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

QLineEdit* makeParishField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaxLength(60);  // TEXT, TEXTH and TEXTA of the chart
    return field;
}

}  // namespace

struct TOeffnen::Impl {
    state::MainState& state;
    platform::Services& services;
    QDialog& dialog;
    YearDialogHooks hooks;

    std::vector<YearEntry> entries;
    int rememberedSelection = 0;
    CarryMode carryMode = CarryMode::NewYear;
    std::filesystem::path editedChart;  // the chart whose parish data the fields show
    bool yearOpened = false;

    QListWidget* list = nullptr;
    QPushButton* open = nullptr;
    QPushButton* parish = nullptr;
    QPushButton* newYear = nullptr;
    QPushButton* update = nullptr;
    QPushButton* restore = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* quit = nullptr;

    QFrame* newYearPanel = nullptr;
    QLabel* newYearTitle = nullptr;
    QLabel* emptyHint = nullptr;
    QRadioButton* firstOpening = nullptr;
    QRadioButton* closeAndOpen = nullptr;
    QButtonGroup* choices = nullptr;
    QLabel* sourceLabel = nullptr;
    QComboBox* sourceBox = nullptr;
    QLabel* targetLabel = nullptr;
    QComboBox* targetBox = nullptr;
    QPushButton* carryOk = nullptr;

    QFrame* updatePanel = nullptr;
    QComboBox* updateBox = nullptr;

    QFrame* yearPanel = nullptr;
    QLineEdit* yearField = nullptr;
    QPushButton* yearOk = nullptr;
    QPushButton* yearCancel = nullptr;

    QFrame* parishPanel = nullptr;
    QLineEdit* parishName = nullptr;
    QLineEdit* parishPlace = nullptr;
    QLineEdit* parishDeanery = nullptr;

    Impl(state::MainState& s, platform::Services& sv, QDialog& d) : state(s), services(sv), dialog(d) {}

    void tell(std::string_view text, PromptKind kind = PromptKind::Information) {
        services.prompt.message(kind, std::string(text));
    }

    // Runs an operation; its failure is told in Italian and the dialog stays usable,
    // except for a missing year file, after which the program ends.
    bool guarded(const std::function<void()>& operation) {
        try {
            operation();
            return true;
        } catch (const storage::MissingYearFile& missing) {
            tell(storage::missingYearFileMessage(missing.fileName(), state.settings.server), PromptKind::Error);
            services.shell.quit();
            // Queued: the failure may come while the dialog is still being shown.
            QMetaObject::invokeMethod(&dialog, [this] { dialog.done(QDialog::Rejected); }, Qt::QueuedConnection);
        } catch (const storage::YearFileError& refused) {
            tell(refused.what(), PromptKind::Warning);
        } catch (const storage::DbError& failed) {
            tell(failed.what(), PromptKind::Error);
        } catch (const std::exception&) {
            tell(kUnexpectedError, PromptKind::Error);
        }
        return false;
    }

    void closeMainTables() const {
        if (hooks.closeMainTables) hooks.closeMainTables();
    }

    bool updateRestarts() const { return hooks.updateCheck && hooks.updateCheck(); }

    std::optional<std::filesystem::path> chooseSavedJournal(QWidget* parent) const {
        if (hooks.chooseSavedJournal) return hooks.chooseSavedJournal();
        const QString file = QFileDialog::getOpenFileName(parent, "riattivare esercizio", documentsFolder(),
                                                          "Esercizii (KR*.DBF kr*.dbf Kr*.dbf)");
        return file.isEmpty() ? std::nullopt : std::optional(pathOf(file));
    }

    // Only the folder is used: the names never change on saving.
    std::optional<std::filesystem::path> chooseSaveFolder(QWidget* parent) const {
        if (hooks.chooseSaveFolder) return hooks.chooseSaveFolder();
        const QString folder = QFileDialog::getExistingDirectory(parent, "salvataggio anno attuale", documentsFolder());
        return folder.isEmpty() ? std::nullopt : std::optional(pathOf(folder));
    }

    int selection() const { return list->currentRow(); }

    const YearEntry* selectedEntry() const {
        const int row = selection();
        return row >= 0 && row < int(entries.size()) ? &entries[std::size_t(row)] : nullptr;
    }

    const YearEntry* entryOf(const QComboBox* box) const {
        const int index = box->currentIndex();
        return index >= 0 && index < int(entries.size()) ? &entries[std::size_t(index)] : nullptr;
    }

    void fillYearBox(QComboBox* box, int proposed) const {
        box->clear();
        for (const YearEntry& entry : entries) box->addItem(qs(entry.text));
        box->setCurrentIndex(entries.empty() ? -1 : std::clamp(proposed, 0, int(entries.size()) - 1));
    }

    void setEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
        for (QWidget* widget : widgets) widget->setEnabled(enabled);
    }

    void enableAll() { setEnabled({list, open, parish, newYear, update, restore, remove, quit}, true); }

    void hidePanels() {
        for (QFrame* panel : {newYearPanel, updatePanel, yearPanel, parishPanel}) panel->hide();
    }

    // The new-year panel as "&nuovo esercizio" opens it, or for the carry into an
    // existing year: without its title and choices, with the target box.
    void showNewYearPanel(bool intoExisting) {
        hidePanels();
        newYearTitle->setVisible(!intoExisting);
        firstOpening->setVisible(!intoExisting);
        closeAndOpen->setVisible(!intoExisting);
        choices->setExclusive(false);
        firstOpening->setChecked(false);
        closeAndOpen->setChecked(false);
        choices->setExclusive(true);
        for (QWidget* widget : std::initializer_list<QWidget*>{sourceLabel, sourceBox, carryOk})
            widget->setVisible(intoExisting);
        targetLabel->setVisible(intoExisting);
        targetBox->setVisible(intoExisting);
        newYearPanel->show();
    }

    // The dialog grows, within the screen, until the longest year entry fits on one line
    // of the list (and so of the year boxes, which are wider); what is still longer wraps.
    void widenForEntries() {
        const QFontMetrics metrics(list->font());
        int widest = 0;
        for (const YearEntry& entry : entries) widest = std::max(widest, metrics.horizontalAdvance(qs(entry.text)));
        const int itemMargins = 2 * list->spacing() + 2 * metrics.averageCharWidth();
        const int missing = widest + itemMargins - list->viewport()->width();
        if (missing <= 0) return;
        const QScreen* screen = dialog.screen();
        const int limit = screen ? screen->availableGeometry().width() : dialog.width();
        dialog.resize(std::max(dialog.width(), std::min(dialog.width() + missing, limit)), dialog.height());
    }

    void showParishFields(const std::filesystem::path& chart) {
        const ParishData data = readParishData(chart);
        editedChart = chart;
        parishName->setText(qs(data.name));
        parishPlace->setText(qs(data.place));
        parishDeanery->setText(qs(data.deanery));
        parishPanel->show();
        parishName->setFocus();
    }
};

TOeffnen::TOeffnen(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), impl_(std::make_unique<Impl>(state, services, *this)) {
    Impl& d = *impl_;
    setObjectName("TOeffnen");
    setWindowTitle("Quendra: operazioni file");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    // The list and its commands.
    auto* listHeader = makeTitle("Scelta anno", "ListHeader", this);
    d.list = new QListWidget(this);
    d.list->setObjectName("ListBox1");
    d.list->setMinimumSize(470, 230);
    // A line longer than the list goes on below, never past the edge.
    d.list->setWordWrap(true);
    d.list->setTextElideMode(Qt::ElideNone);
    d.list->setResizeMode(QListView::Adjust);
    d.list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d.list->setSpacing(1);
    d.emptyHint = new QLabel(kNoYearYetHint, this);
    d.emptyHint->setObjectName("EmptyListHint");
    d.emptyHint->setWordWrap(true);
    d.emptyHint->hide();
    d.open = makeButton("aprire anno scelto", "Button1", this);
    d.parish = makeButton("cambio nome &parrocchia", "Button2", this);
    d.newYear = makeButton("&nuovo esercizio", "Neuesjahr", this);
    d.update = makeButton("&aggiornamento esercizio precedente", "njbutton", this);
    d.restore = makeButton("&riattivare esercizio", "zurueckholen", this);
    d.remove = makeButton("&cancella esercizio", "Button5", this);
    d.quit = makeButton("&esci", "esci", this);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(listHeader);
    listColumn->addWidget(d.list, 1);
    listColumn->addWidget(d.emptyHint);
    auto* commands = new QVBoxLayout;
    commands->addSpacing(listHeader->sizeHint().height());
    for (QPushButton* button : {d.open, d.parish, d.newYear, d.update, d.restore, d.remove})
        commands->addWidget(button);
    commands->addStretch();
    commands->addWidget(d.quit);
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn, 1);
    top->addLayout(commands);

    // "&nuovo esercizio", and the carry into an existing year.
    d.newYearPanel = makePanel("njpanel", this);
    d.newYearTitle = makeTitle("apertura / aggiornamente quendra", "njtitle", d.newYearPanel);
    d.firstOpening = new QRadioButton("prima apertura nuovo esercizio", d.newYearPanel);
    d.firstOpening->setObjectName("njradioFirst");
    d.closeAndOpen = new QRadioButton("chiusura esercizio e apertura nuovo anno", d.newYearPanel);
    d.closeAndOpen->setObjectName("njradioClose");
    d.choices = new QButtonGroup(this);
    d.choices->setObjectName("njradio");
    d.choices->addButton(d.firstOpening, 0);
    d.choices->addButton(d.closeAndOpen, 1);
    d.sourceLabel = new QLabel(" Scelta esercizio precedente", d.newYearPanel);
    d.sourceBox = makeYearBox("njsource", d.newYearPanel);
    d.targetLabel = new QLabel("Scelta esercizio di aggiornare", d.newYearPanel);
    d.targetBox = makeYearBox("njtarget", d.newYearPanel);
    d.carryOk = makeButton("&OK", "njok", d.newYearPanel);
    auto* carryCancel = makeButton("&annulla", "njabbruch", d.newYearPanel);
    auto* newYearButtons = new QHBoxLayout;
    newYearButtons->addStretch();
    newYearButtons->addWidget(d.carryOk);
    newYearButtons->addWidget(carryCancel);
    auto* newYearLayout = new QVBoxLayout(d.newYearPanel);
    for (QWidget* widget : std::initializer_list<QWidget*>{d.newYearTitle, d.firstOpening, d.closeAndOpen,
                                                           d.sourceLabel, d.sourceBox, d.targetLabel, d.targetBox})
        newYearLayout->addWidget(widget);
    newYearLayout->addStretch();
    newYearLayout->addLayout(newYearButtons);

    // "&aggiornamento esercizio precedente".
    d.updatePanel = makePanel("updatepanel", this);
    d.updateBox = makeYearBox("njupdate", d.updatePanel);
    auto* updateOk = makeButton("&OK", "njok2", d.updatePanel);
    auto* updateCancel = makeButton("&annulla", "njabbruch2", d.updatePanel);
    auto* updateButtons = new QHBoxLayout;
    updateButtons->addStretch();
    updateButtons->addWidget(updateOk);
    updateButtons->addWidget(updateCancel);
    auto* updateLayout = new QVBoxLayout(d.updatePanel);
    updateLayout->addWidget(makeTitle("Apertura in un esercizio esistente", "updatetitle", d.updatePanel));
    updateLayout->addWidget(new QLabel("Scelta esercizio da aggiornare", d.updatePanel));
    updateLayout->addWidget(d.updateBox);
    updateLayout->addStretch();
    updateLayout->addLayout(updateButtons);

    // "Nuovo esercizio": the year of a first opening.
    d.yearPanel = makePanel("yearpanel", this);
    d.yearField = new QLineEdit(d.yearPanel);
    d.yearField->setObjectName("MaskEdit1");
    d.yearField->setInputMask("0000");
    d.yearField->setMaximumWidth(90);
    d.yearOk = makeButton("&OK", "MaskEdit1Ok", d.yearPanel);
    d.yearCancel = makeButton("&annulla", "abbruch", d.yearPanel);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(new QLabel("anno", d.yearPanel));
    yearRow->addWidget(d.yearField);
    yearRow->addStretch();
    auto* yearButtons = new QHBoxLayout;
    yearButtons->addStretch();
    yearButtons->addWidget(d.yearOk);
    yearButtons->addWidget(d.yearCancel);
    auto* yearLayout = new QVBoxLayout(d.yearPanel);
    yearLayout->addWidget(makeTitle("Nuovo esercizio", "yeartitle", d.yearPanel));
    yearLayout->addLayout(yearRow);
    yearLayout->addStretch();
    yearLayout->addLayout(yearButtons);

    // The parish header row of a year's chart.
    d.parishPanel = makePanel("parishpanel", this);
    d.parishName = makeParishField("Editparrocchia", d.parishPanel);
    d.parishName->setPlaceholderText("San Nicolò");
    d.parishPlace = makeParishField("Editluogo", d.parishPanel);
    d.parishDeanery = makeParishField("Editdecanato", d.parishPanel);
    auto* save = makeButton("salva", "Button3", d.parishPanel);
    auto* parishForm = new QFormLayout;
    parishForm->addRow("nome parrocchia", d.parishName);
    parishForm->addRow("luogo", d.parishPlace);
    parishForm->addRow("decanato", d.parishDeanery);
    auto* saveRow = new QHBoxLayout;
    saveRow->addStretch();
    saveRow->addWidget(save);
    auto* parishLayout = new QVBoxLayout(d.parishPanel);
    parishLayout->addWidget(makeTitle("Dati della parrocchia", "parishtitle", d.parishPanel));
    parishLayout->addLayout(parishForm);
    parishLayout->addStretch();
    parishLayout->addLayout(saveRow);

    auto* panelsArea = new QWidget(this);
    panelsArea->setObjectName("panels");
    // Without a panel the list takes the whole height; a panel takes its room from it.
    auto* panels = new QHBoxLayout(panelsArea);
    panels->setContentsMargins(0, 0, 0, 0);
    // The panels with year boxes take the whole width, so that a year entry shows whole.
    for (QFrame* panel : {d.newYearPanel, d.updatePanel}) panels->addWidget(panel, 1, Qt::AlignTop);
    panels->addWidget(d.yearPanel, 0, Qt::AlignTop);
    panels->addWidget(d.parishPanel, 1, Qt::AlignTop);
    panels->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(panelsArea);

    connect(d.open, &QPushButton::clicked, this, &TOeffnen::Button1Click);
    connect(d.parish, &QPushButton::clicked, this, &TOeffnen::Button2Click);
    connect(d.newYear, &QPushButton::clicked, this, &TOeffnen::NeuesjahrClick);
    connect(d.update, &QPushButton::clicked, this, &TOeffnen::njbuttonClick);
    connect(d.restore, &QPushButton::clicked, this, &TOeffnen::zurueckholenClick);
    connect(d.remove, &QPushButton::clicked, this, &TOeffnen::Button5Click);
    connect(d.quit, &QPushButton::clicked, this, &TOeffnen::esciClick);
    connect(d.choices, &QButtonGroup::idClicked, this, &TOeffnen::njradioClick);
    connect(d.carryOk, &QPushButton::clicked, this, &TOeffnen::njokClick);
    connect(carryCancel, &QPushButton::clicked, this, &TOeffnen::njabbruchClick);
    connect(updateOk, &QPushButton::clicked, this, &TOeffnen::njok2Click);
    connect(updateCancel, &QPushButton::clicked, this, &TOeffnen::njabbruch2Click);
    connect(d.yearOk, &QPushButton::clicked, this, &TOeffnen::MaskEdit1Exit);
    connect(d.yearField, &QLineEdit::returnPressed, this, &TOeffnen::MaskEdit1Exit);
    connect(d.yearCancel, &QPushButton::clicked, this, &TOeffnen::abbruchClick);
    connect(save, &QPushButton::clicked, this, &TOeffnen::Button3Click);
    connect(d.parishName, &QLineEdit::returnPressed, d.parishPlace, qOverload<>(&QWidget::setFocus));
    connect(d.parishPlace, &QLineEdit::returnPressed, d.parishDeanery, qOverload<>(&QWidget::setFocus));
    connect(d.parishDeanery, &QLineEdit::returnPressed, this, &TOeffnen::Button3Click);

    resize(780, 520);
    widgets::scaleWindow(this, state.settings.scalePercent());
}

TOeffnen::~TOeffnen() = default;

void TOeffnen::setHooks(YearDialogHooks hooks) { impl_->hooks = std::move(hooks); }

bool TOeffnen::showModal() {
    impl_->yearOpened = false;
    impl_->hidePanels();
    impl_->enableAll();
    impl_->carryMode = CarryMode::NewYear;
    exec();
    return impl_->yearOpened;
}

void TOeffnen::reject() {}

void TOeffnen::closeEvent(QCloseEvent* event) { event->ignore(); }

void TOeffnen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    EinlesenClick();
}

void TOeffnen::EinlesenClick() {
    Impl& d = *impl_;
    YearList years;
    if (!d.guarded([&] { years = listYears(d.state.dataDir); })) return;
    d.entries = std::move(years.entries);
    d.list->clear();
    for (const YearEntry& entry : d.entries) d.list->addItem(qs(entry.text));
    d.widenForEntries();
    d.emptyHint->setVisible(d.entries.empty());
    d.list->setFocus();
    if (!d.entries.empty()) d.list->setCurrentRow(std::clamp(d.rememberedSelection, 0, int(d.entries.size()) - 1));
    for (const UnreadableYear& year : years.unreadable) {
        d.tell("L'esercizio \"" + year.fileName + "\" non può essere letto e non è nell'elenco: " + year.message,
               PromptKind::Warning);
    }
}

void TOeffnen::Button1Click() {
    Impl& d = *impl_;
    if (d.updateRestarts()) return done(QDialog::Rejected);
    const YearEntry* entry = d.selectedEntry();
    if (!entry) return d.tell(messages::kNoYear);
    d.rememberedSelection = d.selection();
    const std::string number = entry->yearNumber;
    d.guarded([&] {
        d.closeMainTables();
        const CurrentYearNames names = openChosenYear(d.state.dataDir, number);
        d.state.settings.hauptdatei = names.journal;
        d.state.settings.konto = names.chart;
        d.yearOpened = true;
        accept();
    });
}

void TOeffnen::Button2Click() {
    Impl& d = *impl_;
    const YearEntry* entry = d.selectedEntry();
    if (!entry) return d.tell(messages::kNoYear);
    d.rememberedSelection = d.selection();
    const std::filesystem::path chart = yearTablePath(d.state.dataDir, storage::YearTable::Chart, entry->yearNumber);
    d.guarded([&] {
        d.hidePanels();
        d.showParishFields(chart);
        // "aggiornamento" too: its panel would hide the fields and leave these disabled.
        d.setEnabled({d.list, d.open, d.parish, d.remove, d.newYear, d.update}, false);
    });
}

void TOeffnen::Button3Click() {
    Impl& d = *impl_;
    const ParishData data{d.parishName->text().toStdString(), d.parishPlace->text().toStdString(),
                          d.parishDeanery->text().toStdString()};
    if (!d.guarded([&] { writeParishData(d.editedChart, data); })) return;
    d.enableAll();
    d.hidePanels();
    EinlesenClick();
}

void TOeffnen::Button5Click() {
    Impl& d = *impl_;
    const YearEntry* entry = d.selectedEntry();
    if (!entry) return d.tell(messages::kNoYear);
    const std::string number = entry->yearNumber;
    if (!d.services.prompt.askBeforeLoss(PromptKind::Confirmation, messages::confirmDeleteYear(number))) return;
    d.guarded([&] {
        d.closeMainTables();
        deleteYear(d.state.dataDir, number);
    });
    d.rememberedSelection = 0;
    EinlesenClick();
}

void TOeffnen::NeuesjahrClick() {
    Impl& d = *impl_;
    if (d.updateRestarts()) return done(QDialog::Rejected);
    d.carryMode = CarryMode::NewYear;
    d.showNewYearPanel(false);
}

void TOeffnen::njradioClick(int choice) {
    Impl& d = *impl_;
    if (choice == 1 && !d.entries.empty()) {
        d.fillYearBox(d.sourceBox, d.selection());
        for (QWidget* widget : std::initializer_list<QWidget*>{d.sourceLabel, d.sourceBox, d.carryOk}) widget->show();
        return;
    }
    // "prima apertura nuovo esercizio", also the close of a year when there is none.
    d.hidePanels();
    d.yearField->setText(QString::number(d.services.clock.today().year()));
    d.setEnabled({d.yearOk, d.yearCancel}, true);
    d.setEnabled({d.open, d.parish, d.remove, d.newYear, d.update, d.restore, d.quit}, false);
    d.yearPanel->show();
    d.yearField->setFocus();
    d.yearField->selectAll();  // typing another year replaces the proposed one
}

void TOeffnen::njbuttonClick() {
    Impl& d = *impl_;
    d.rememberedSelection = std::max(d.selection(), 0);
    d.hidePanels();
    d.fillYearBox(d.updateBox, d.selection());
    d.updatePanel->show();
}

void TOeffnen::njok2Click() {
    Impl& d = *impl_;
    const YearEntry* target = d.entryOf(d.updateBox);
    if (!target) return njradioClick(0);
    const int targetIndex = d.updateBox->currentIndex();
    const std::string targetNumber = target->yearNumber;
    CarrySource source;
    if (!d.guarded([&] { source = findCarrySource(d.state.dataDir, targetNumber); })) return;
    d.hidePanels();
    if (!source.hasCarryRows) {
        d.carryMode = CarryMode::IntoExisting;
        d.fillYearBox(d.sourceBox, targetIndex + 1);
        d.fillYearBox(d.targetBox, targetIndex);
        d.showNewYearPanel(true);
        return;
    }
    if (!source.yearNumber) return d.tell(messages::yearDoesNotExist(source.journalName), PromptKind::Warning);
    d.carryMode = CarryMode::Update;
    const std::string sourceNumber = *source.yearNumber;
    d.guarded([&] {
        d.closeMainTables();
        carryForward(d.state.dataDir, sourceNumber, targetNumber);
    });
    njabbruchClick();
    EinlesenClick();
}

void TOeffnen::njokClick() {
    Impl& d = *impl_;
    const YearEntry* source = d.entryOf(d.sourceBox);
    const YearEntry* target = d.entryOf(d.targetBox);
    if (!source || (d.carryMode == CarryMode::IntoExisting && !target)) return d.tell(messages::kNoYear);
    const std::string sourceNumber = source->yearNumber;
    const std::string targetNumber = target ? target->yearNumber : std::string();
    std::string newNumber;
    const CarryMode mode = d.carryMode;
    d.guarded([&] {
        d.closeMainTables();
        if (mode == CarryMode::IntoExisting) {
            carryForward(d.state.dataDir, sourceNumber, targetNumber);
        } else {
            newNumber = carryIntoNewYear(d.state.dataDir, sourceNumber);
            d.rememberedSelection = 0;  // as after every new year
        }
    });
    if (!newNumber.empty() &&
        d.services.prompt.ask(PromptKind::Confirmation, "Proporre il preventivo " + newNumber.substr(0, 4) +
                                                            " dal consuntivo " + sourceNumber.substr(0, 4) + "?")) {
        d.guarded([&] {
            const std::filesystem::path& dir = d.state.dataDir;
            budget::writeProposal(yearTablePath(dir, storage::YearTable::Budget, newNumber),
                                  budget::actualAmounts(yearTablePath(dir, storage::YearTable::Journal, sourceNumber)), 0);
        });
    }
    njabbruchClick();
    EinlesenClick();
}

void TOeffnen::njabbruchClick() {
    impl_->carryMode = CarryMode::NewYear;
    impl_->hidePanels();
}

void TOeffnen::njabbruch2Click() { impl_->updatePanel->hide(); }

void TOeffnen::MaskEdit1Exit() {
    Impl& d = *impl_;
    const std::string typed = d.yearField->text().toStdString();
    if (typed.empty() || typed.size() != 4) {
        d.tell(typed.empty() ? messages::kEnterYear : messages::kYearNeedsFourDigits);
        d.yearField->setFocus();
        return;
    }
    d.guarded([&] {
        const std::string number = createYear(d.state.dataDir, std::stoi(typed), d.services.clock.today());
        d.rememberedSelection = 0;
        d.setEnabled({d.yearOk, d.yearCancel}, false);
        d.showParishFields(yearTablePath(d.state.dataDir, storage::YearTable::Chart, number));
    });
}

void TOeffnen::abbruchClick() {
    impl_->enableAll();
    impl_->hidePanels();
    EinlesenClick();
}

void TOeffnen::zurueckholenClick() {
    Impl& d = *impl_;
    const std::optional<std::filesystem::path> chosen = d.chooseSavedJournal(this);
    if (!chosen) return EinlesenClick();
    ImportOutcome outcome;
    if (!d.guarded([&] { outcome = importYear(d.state.dataDir, *chosen); })) return;
    if (outcome.kind == ImportOutcome::Kind::OldVersion) return d.tell(messages::kOldVersion, PromptKind::Warning);
    if (outcome.renamed) d.tell(messages::renamedOnImport(outcome.journalName));
    d.tell(messages::kImported);
    EinlesenClick();
}

void TOeffnen::Button6Click() {
    Impl& d = *impl_;
    const std::string journalName = d.state.settings.hauptdatei;
    std::error_code error;
    if (journalName.empty() || !std::filesystem::is_regular_file(d.state.journalPath(), error)) {
        return d.tell(messages::kNoYear);
    }
    const std::optional<std::filesystem::path> folder = d.chooseSaveFolder(parentWidget());
    if (!folder) return;
    SaveOutcome outcome = SaveOutcome::Saved;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done =
        d.guarded([&] { outcome = saveYearCopy(d.state.dataDir, journalName, d.state.settings.konto, *folder); });
    QApplication::restoreOverrideCursor();
    if (!done) return;
    if (outcome == SaveOutcome::Saved)
        d.tell(messages::kSaved);
    else
        d.tell(messages::kCopyIntoDataDirectory, PromptKind::Warning);
}

void TOeffnen::esciClick() {
    impl_->services.shell.quit();
    done(QDialog::Rejected);
}

}  // namespace quendra::years
