#include "printing/TFDrucken.h"

#include "state/main_state.h"
#include "platform/services.h"
#include "printing/AnnualReportOutput.h"
#include "printing/PaperPrint.h"
#include "printing/PreviewArea.h"
#include "printing/PreviewPager.h"
#include "printing/QtCanvas.h"
#include "printing/TFilterauswahl.h"
#include "printing/TJournalwahl.h"
#include "printing/journal_range.h"
#include "printing/annual_report.h"
#include "printing/recording_canvas.h"
#include "printing/report_catalog.h"
#include "printing/selection_queries.h"
#include "printing/start_panel.h"
#include "storage/year_files.h"
#include "widgets/HelpKey.h"
#include "widgets/QtHelpers.h"
#include "widgets/WindowScaling.h"

#include <QApplication>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <tuple>

namespace quendra::printing {

using widgets::button;
using widgets::qs;

struct TFDrucken::Controls {
    PreviewArea* listBox1 = nullptr;
    QWidget* panel1 = nullptr;
    QGroupBox* groupBox3 = nullptr;
    QRadioButton* radiojournal = nullptr;
    QRadioButton* radioalle = nullptr;
    QRadioButton* radiounter = nullptr;
    QRadioButton* radiohaupt = nullptr;
    QRadioButton* radiobilancio = nullptr;
    QRadioButton* radiokonto = nullptr;
    QRadioButton* radiohwahl = nullptr;
    QRadioButton* radiokassa = nullptr;
    QRadioButton* radiokeine = nullptr;
    QRadioButton* radiotext = nullptr;
    QRadioButton* radiodatum = nullptr;
    QRadioButton* radiobildschirm = nullptr;
    QRadioButton* radiodrucker = nullptr;
    QRadioButton* radiopdf = nullptr;
    QPushButton* button2 = nullptr;
    QGroupBox* groupBox2 = nullptr;
    QLineEdit* edit1 = nullptr;
    QGroupBox* groupBox7 = nullptr;
    QLineEdit* edit2 = nullptr;
    QLineEdit* edit3 = nullptr;
    QGroupBox* radioGroup1 = nullptr;
    QGroupBox* groupBox1 = nullptr;
    QPushButton* button6 = nullptr;
    QPushButton* button9 = nullptr;
    QPushButton* button1 = nullptr;
};

namespace {

constexpr int kHelpContext = 3;

QRadioButton* radio(QWidget* parent, QLayout* layout, const char* name, const char* text) {
    auto* r = new QRadioButton(QString::fromUtf8(text), parent);
    r->setObjectName(name);
    layout->addWidget(r);
    return r;
}

QGroupBox* group(QWidget* parent, const char* name, const char* title) {
    auto* g = new QGroupBox(QString::fromUtf8(title), parent);
    g->setObjectName(name);
    return g;
}

// Unticks a radio button of an exclusive group, leaving none ticked if it was the one.
void untick(QRadioButton* r) {
    r->setAutoExclusive(false);
    r->setChecked(false);
    r->setAutoExclusive(true);
}

ReportYear yearOf(const state::MainState& main) {
    return {main.dataDir, main.journalPath(), main.chartPath(),
            storage::yearNumberOf(main.settings.hauptdatei).value_or(std::string()), main.settings};
}

// Where the PDF went, and whether to open it.
std::string pdfWrittenQuestion(const std::filesystem::path& pdf) {
    return "La stampa è stata salvata nel file\n" + pdf.string() + "\n\nAprirla adesso?";
}

}  // namespace

TFDrucken::TFDrucken(state::MainState& state, platform::Services& services, TFilterauswahl& filterauswahl,
                     QWidget* parent)
    : QDialog(parent), main_(state), services_(services), filterauswahl_(filterauswahl),
      c_(std::make_unique<Controls>()) {
    setObjectName("FDrucken");
    widgets::setHelpContext(this, kHelpContext);
    setWindowTitle("Tovald: Bildschirm - Drucken");
    setModal(true);
    buildWindow();
    pager_ = std::make_unique<PreviewPager>(c_->listBox1, c_->button6, c_->button9, c_->button1);
    printerDialog_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    pdfDialog_ = [this](const std::filesystem::path& proposed) {
        const QString file = QFileDialog::getSaveFileName(this, "Salva la stampa come PDF",
                                                          QString::fromStdString(proposed.string()), "PDF (*.pdf)");
        return std::filesystem::path(file.toStdString());
    };
    // FormCreate: the window's scale.
    widgets::scaleWindow(this, main_.settings.scalePercent());
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now != nullptr && c_->groupBox3->isAncestorOf(now) && (old == nullptr || !c_->groupBox3->isAncestorOf(old))) {
            GroupBox3Enter();
        }
    });
}

TFDrucken::~TFDrucken() = default;

void TFDrucken::buildWindow() {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    Controls& c = *c_;

    // The preview button bar above the list area.
    c.groupBox1 = group(this, "GroupBox1", "");
    auto* bar = new QHBoxLayout(c.groupBox1);
    c.button6 = button("Button6", "&avanti", c.groupBox1);
    c.button9 = button("Button9", "&esci", c.groupBox1);
    c.button1 = button("Button1", "&FINE LISTA", c.groupBox1);
    for (QPushButton* b : {c.button6, c.button9, c.button1}) bar->addWidget(b);
    bar->addStretch();
    connect(c.button6, &QPushButton::clicked, this, &TFDrucken::Button6Click);
    connect(c.button9, &QPushButton::clicked, this, &TFDrucken::Button9Click);
    connect(c.button1, &QPushButton::clicked, this, &TFDrucken::Button1Click);

    c.listBox1 = new PreviewArea(this);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(c.groupBox1);
    main->addWidget(c.listBox1, 1);

    // The start panel, over the list area.
    c.panel1 = new QGroupBox(this);
    c.panel1->setObjectName("Panel1");
    c.panel1->setAutoFillBackground(true);
    auto* panel = new QGridLayout(c.panel1);
    auto* label = new QLabel("   Scegliere l'opzione e dopo cliccare su 'visualizza-stampa'    ", c.panel1);
    label->setObjectName("Label1");
    QFont labelFont = label->font();
    labelFont.setBold(true);
    label->setFont(labelFont);
    panel->addWidget(label, 0, 0, 1, 3);

    c.groupBox3 = group(c.panel1, "GroupBox3", "stampe contabili");
    auto* reports = new QVBoxLayout(c.groupBox3);
    c.radiojournal = radio(c.groupBox3, reports, "Radiojournal", "&giornale");
    c.radioalle = radio(c.groupBox3, reports, "radioalle", "&tutti movimenti");
    c.radiounter = radio(c.groupBox3, reports, "radiounter", "conti - sottoconti");
    c.radiohaupt = radio(c.groupBox3, reports, "radiohaupt", "solo conti");
    c.radiobilancio = radio(c.groupBox3, reports, "radiobilancio", "&bilancio - invio a. Velmora");
    c.radiokonto = radio(c.groupBox3, reports, "radiokonto", "&piano dei conti");
    c.radiohwahl = radio(c.groupBox3, reports, "Radiohwahl", "estratto &conto a scelta");
    c.radiokassa = radio(c.groupBox3, reports, "Radiokassa", "situazione &liquidita");
    c.radiojournal->installEventFilter(this);
    panel->addWidget(c.groupBox3, 1, 0, 2, 1);

    auto* options = group(c.panel1, "GroupBox4", "opzioni");
    auto* optionLayout = new QVBoxLayout(options);
    c.radiokeine = radio(options, optionLayout, "radiokeine", "nessuna opzione");
    c.radiotext = radio(options, optionLayout, "radiotext", "causale");
    c.radiodatum = radio(options, optionLayout, "radiodatum", "data");
    panel->addWidget(options, 1, 1);

    auto* output = group(c.panel1, "GroupBox5", "schermo - stampa");
    auto* outputLayout = new QVBoxLayout(output);
    c.radiobildschirm = radio(output, outputLayout, "radiobildschirm", "&schermo");
    // The way to the workbook export: a thin bar between the first two choices, enabled
    // once the export window is there.
    c.button2 = button("Button2", "", output);
    c.button2->setFixedHeight(4);
    c.button2->setToolTip("Esportazione della cartella di lavoro per Excel (anche nel menu File della finestra principale)");
    c.button2->setEnabled(false);
    outputLayout->addWidget(c.button2);
    connect(c.button2, &QPushButton::clicked, this, &TFDrucken::Button3Click);
    c.radiodrucker = radio(output, outputLayout, "radiodrucker", "s&tampante");
    c.radiopdf = radio(output, outputLayout, "radiopdf", "&pdf");
    panel->addWidget(output, 1, 2);

    auto* start = button("Startauswahl", "&visualizza - stampa", c.panel1);
    auto* close = button("Button8", "&esci", c.panel1);
    connect(start, &QPushButton::clicked, this, &TFDrucken::StartauswahlClick);
    connect(close, &QPushButton::clicked, this, &TFDrucken::Button8Click);
    auto* startButtons = new QHBoxLayout;
    startButtons->addWidget(start);
    startButtons->addWidget(close);
    panel->addLayout(startButtons, 2, 1, 1, 2);

    // The entry groups of the two options and the annual-report group, hidden until used.
    c.groupBox2 = group(this, "GroupBox2", "scelta oggetto");
    auto* textLayout = new QVBoxLayout(c.groupBox2);
    textLayout->addWidget(new QLabel("oggetto o parte di oggetto", c.groupBox2));
    c.edit1 = new QLineEdit(c.groupBox2);
    c.edit1->setObjectName("edit1");
    textLayout->addWidget(c.edit1);
    c.edit1->installEventFilter(this);

    c.groupBox7 = group(this, "GroupBox7", "scelta secondo data");
    auto* dateLayout = new QGridLayout(c.groupBox7);
    dateLayout->addWidget(new QLabel("data da", c.groupBox7), 0, 0);
    dateLayout->addWidget(new QLabel("a data", c.groupBox7), 0, 1);
    c.edit2 = new QLineEdit(c.groupBox7);
    c.edit2->setObjectName("Edit2");
    c.edit3 = new QLineEdit(c.groupBox7);
    c.edit3->setObjectName("Edit3");
    c.edit2->setInputMask("00.00.0000");
    c.edit3->setInputMask("00.00.0000");
    dateLayout->addWidget(c.edit2, 1, 0);
    dateLayout->addWidget(c.edit3, 1, 1);
    c.edit2->installEventFilter(this);
    c.edit3->installEventFilter(this);

    groupBox8_ = group(this, "GroupBox8", "Quendra consolidato - da inviare alla Velmora ");
    auto* annual = new QVBoxLayout(groupBox8_);
    c.radioGroup1 = group(groupBox8_, "RadioGroup1", "");
    auto* items = new QVBoxLayout(c.radioGroup1);
    for (std::size_t i = 0; i < kAnnualItemCaptions.size(); ++i) {
        auto* item = new QRadioButton(qs(std::string(kAnnualItemCaptions[i])), c.radioGroup1);
        item->setProperty("item", static_cast<int>(i));
        items->addWidget(item);
    }
    annual->addWidget(c.radioGroup1);
    auto* reportStart = button("Reportstart", "&visualizza - stampa", groupBox8_);
    connect(reportStart, &QPushButton::clicked, this, &TFDrucken::ReportstartClick);
    annual->addWidget(reportStart);
    // The budget's reports stand beside the annual report's items, which keep their numbers.
    for (const auto& [name, caption, report] :
         {std::tuple{"ButtonPreventivo", "&preventivo", "preventivo"},
          std::tuple{"ButtonConfronto", "c&onfronto consuntivo - preventivo", "confronto"}}) {
        auto* budgetReport = button(name, caption, groupBox8_);
        connect(budgetReport, &QPushButton::clicked, this, [this, report = report] {
            groupBox8_->hide();
            runReport(report, {});
            FormActivate();
        });
        annual->addWidget(budgetReport);
    }

    for (QWidget* overlay : {static_cast<QWidget*>(c.groupBox2), static_cast<QWidget*>(c.groupBox7),
                             static_cast<QWidget*>(groupBox8_)}) {
        overlay->setAutoFillBackground(true);
        overlay->hide();
    }
    c.groupBox1->hide();
}

void TFDrucken::placeOverlays() {
    Controls& c = *c_;
    const QSize size = c.panel1->sizeHint();
    const QRect area = c.listBox1->geometry();
    const QPoint topLeft(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 3);
    c.panel1->setGeometry(QRect(topLeft, size));
    // The entry groups sit at the start panel's top.
    for (QWidget* overlay : {static_cast<QWidget*>(c.groupBox2), static_cast<QWidget*>(c.groupBox7),
                             static_cast<QWidget*>(groupBox8_)}) {
        overlay->setGeometry(QRect(topLeft, QSize(size.width(), overlay->sizeHint().height())));
        overlay->raise();
    }
}

void TFDrucken::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOverlays();
    FormActivate();
}

void TFDrucken::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeOverlays();
}

void TFDrucken::closeEvent(QCloseEvent* event) {
    state_.paging = PagingState::Stopped;
    pager_->answer(false);
    QDialog::closeEvent(event);
}

bool TFDrucken::eventFilter(QObject* watched, QEvent* event) {
    Controls& c = *c_;
    if (watched == c.radiojournal && event->type() == QEvent::MouseButtonPress) {
        RadiojournalMouseDown();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == c.edit1 || watched == c.edit3) {
                c.listBox1->setFocus();
                return true;
            }
            if (watched == c.edit2) {
                c.edit3->setFocus();
                return true;
            }
        }
    }
    // A context menu or another window takes the focus only for a while: the entry is
    // not finished.
    const auto passing = [](const QEvent* e) {
        const Qt::FocusReason reason = static_cast<const QFocusEvent*>(e)->reason();
        return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
    };
    if (event->type() == QEvent::FocusOut && entryArmed_ && !passing(event)) {
        if (watched == c.edit1) {
            edit1Exit();
        } else if (watched == c.edit3) {
            Edit3Exit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Escape is "&esci" of what is showing: the preview stops, an entry or the annual
// report's items go back to the start panel, the start panel closes the window.
void TFDrucken::reject() {
    Controls& c = *c_;
    if (!c.groupBox1->isHidden()) {
        Button9Click();
    } else if (!c.groupBox2->isHidden() || !c.groupBox7->isHidden() || !groupBox8_->isHidden()) {
        entryArmed_ = false;
        FormActivate();
    } else {
        QDialog::reject();
    }
}

void TFDrucken::FormActivate() {
    Controls& c = *c_;
    entryArmed_ = false;
    journalRangeChosen_ = false;
    filterauswahl_.setDetailChecked(true);
    resetStartState(state_);
    c.radioalle->setChecked(true);
    c.radiokeine->setChecked(true);
    c.radiobildschirm->setChecked(true);
    const auto annualItems = c.radioGroup1->findChildren<QRadioButton*>();
    if (!annualItems.isEmpty()) {
        annualItems.first()->setChecked(true);
    }
    placeOverlays();
    c.groupBox2->hide();
    c.groupBox7->hide();
    groupBox8_->hide();
    c.groupBox1->hide();
    c.panel1->show();
    c.button6->show();
    c.button9->show();
    c.button1->hide();
    c.listBox1->showCanvas(nullptr);
}

void TFDrucken::GroupBox3Enter() {
    untick(c_->radiokassa);
    untick(c_->radiohwahl);
}

void TFDrucken::RadiojournalMouseDown() {
    c_->radiojournal->setChecked(true);
    if (journalwahl_ != nullptr) {
        journalwahl_->move(c_->panel1->mapToGlobal(QPoint(0, 0)));
    }
    ReportOptions options;
    if (!chooseJournalRange(options)) {
        FormActivate();
        return;
    }
    StartauswahlClick();
}

void TFDrucken::StartauswahlClick() {
    Controls& c = *c_;
    c.panel1->hide();
    StartPanelChoice choice;
    choice.accountChoice = c.radiohwahl->isChecked();
    choice.journal = c.radiojournal->isChecked();
    choice.allMovements = c.radioalle->isChecked();
    choice.accountsAndSubs = c.radiounter->isChecked();
    choice.accountsOnly = c.radiohaupt->isChecked();
    choice.annualReport = c.radiobilancio->isChecked();
    choice.chartListing = c.radiokonto->isChecked();
    choice.cashBoxes = c.radiokassa->isChecked();
    choice.option = c.radiotext->isChecked()    ? SelectionOption::Text
                    : c.radiodatum->isChecked() ? SelectionOption::DateRange
                                                : SelectionOption::None;
    choice.output = c.radiodrucker->isChecked() ? OutputTarget::Printer
                    : c.radiopdf->isChecked()   ? OutputTarget::Pdf
                                                : OutputTarget::Screen;
    applyStartPanel(choice, state_);
    filterauswahl_.setDetailVisible(choice.accountChoice || choice.cashBoxes);

    if (state_.kind == ReportKind::AnnualReport) {
        if (updateCheck_ && updateCheck_()) {
            reject();
            return;
        }
        groupBox8_->show();
        groupBox8_->raise();
        return;
    }
    if (state_.kind == ReportKind::ChartListing) {
        runReport("piano", {});
        FormActivate();
        return;
    }
    if (state_.option == SelectionOption::Text && state_.kind != ReportKind::Journal) {
        wahl1();
        return;
    }
    if (state_.option == SelectionOption::DateRange && state_.kind != ReportKind::Journal) {
        wahl2();
        return;
    }
    ReportOptions options;
    if (state_.cashBoxMode && !chooseSelection(options)) {
        FormActivate();
        return;
    }
    if (state_.kind == ReportKind::Journal && !state_.accountChoiceMode && !chooseJournalRange(options)) {
        FormActivate();
        return;
    }
    runReport(reportNameFor(state_), options);
    FormActivate();
}

bool TFDrucken::chooseSelection(ReportOptions& options) {
    const TFilterauswahl::Choice choice = filterauswahl_.choose(state_.accountChoiceMode, main_.chartPath());
    if (choice.keys.empty()) {
        return false;
    }
    (state_.accountChoiceMode ? options.accounts : options.cashBoxes) = choice.keys;
    options.details = choice.details;
    return true;
}

bool TFDrucken::chooseJournalRange(ReportOptions& options) {
    TJournalwahl::Range& range = journalRange_;
    if (!journalRangeChosen_) {
        if (journalwahl_ == nullptr) {
            return false;
        }
        range = journalwahl_->choose(main_.journalPath());
        if (journalwahl_->result() != QDialog::Accepted) {
            return false;
        }
        journalRangeChosen_ = true;
        c_->radiobildschirm->setChecked(range.output == OutputTarget::Screen);
        c_->radiodrucker->setChecked(range.output == OutputTarget::Printer);
        c_->radiopdf->setChecked(range.output == OutputTarget::Pdf);
        state_.target = range.output;
    }
    const JournalRangeReading reading = readJournalRange({range.byDate, range.first, range.last});
    if (!reading.ok()) {
        services_.prompt.message(platform::PromptKind::Error, reading.error);
        return false;
    }
    putJournalRange(reading.range, options);
    return true;
}

void TFDrucken::wahl1() {
    Controls& c = *c_;
    c.edit1->clear();
    c.groupBox2->show();
    c.groupBox2->raise();
    c.edit1->setFocus();
    entryArmed_ = true;
}

void TFDrucken::edit1Exit() {
    Controls& c = *c_;
    entryArmed_ = false;
    c.groupBox2->hide();
    c.panel1->hide();
    ReportOptions options;
    options.text = c.edit1->text().toStdString();
    if (!options.text.empty() && (!state_.cashBoxMode || chooseSelection(options))) {
        runReport(reportNameFor(state_), options);
    }
    FormActivate();
}

void TFDrucken::wahl2() {
    Controls& c = *c_;
    JournalRangeDefaults dates;
    try {
        dates = journalRangeDefaults(main_.journalPath(), true);
    } catch (const std::exception& error) {
        services_.prompt.message(platform::PromptKind::Error, error.what());
        FormActivate();
        return;
    }
    c.edit2->setText(qs(dates.first));
    c.edit3->setText(qs(dates.last));
    c.groupBox7->show();
    c.groupBox7->raise();
    c.edit2->setFocus();
    entryArmed_ = true;
}

void TFDrucken::Edit3Exit() {
    Controls& c = *c_;
    entryArmed_ = false;
    c.groupBox7->hide();
    if (state_.kind == ReportKind::AnnualReport) {
        return;
    }
    const std::string from = c.edit2->text().toStdString();
    const std::string to = c.edit3->text().toStdString();
    if (from == ".." || to == "..") {
        FormActivate();
        return;
    }
    const auto first = storage::Date::parseDisplay(from);
    const auto last = storage::Date::parseDisplay(to);
    if (!first || !last) {
        services_.prompt.message(platform::PromptKind::Error, "formato data non corretto");
        FormActivate();
        return;
    }
    ReportOptions options;
    options.from = *first;
    options.to = *last;
    try {
        dateOptionOf(options);
    } catch (const std::invalid_argument& reversed) {
        services_.prompt.message(platform::PromptKind::Error, reversed.what());
        FormActivate();
        return;
    }
    if (!state_.cashBoxMode || chooseSelection(options)) {
        runReport(reportNameFor(state_), options);
    }
    FormActivate();
}

void TFDrucken::ReportstartClick() {
    AnnualItem chosen = AnnualItem::All;
    for (QRadioButton* item : c_->radioGroup1->findChildren<QRadioButton*>()) {
        if (item->isChecked()) chosen = static_cast<AnnualItem>(item->property("item").toInt());
    }
    groupBox8_->hide();
    state_.kind = ReportKind::AnnualReport;
    try {
        AnnualReportOutput output(*this, chosen);
        runAnnualReport(state_, chosen, output);
    } catch (const std::exception& error) {
        services_.prompt.message(platform::PromptKind::Error, error.what());
    }
    FormActivate();
}

void TFDrucken::runReport(std::string_view name, const ReportOptions& options) {
    const ReportEntry* entry = findReport(name);
    if (entry == nullptr || entry->run == nullptr) {
        services_.prompt.message(platform::PromptKind::Information, "Questa stampa non è ancora disponibile.");
        return;
    }
    const OutputTarget target = state_.target;
    prepareState(*entry, options, state_);
    state_.target = target;
    try {
        if (target == OutputTarget::Screen) {
            runOnScreen(*entry, options);
        } else {
            runOnPaper(*entry, options);
        }
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        services_.prompt.message(platform::PromptKind::Error, error.what());
    }
    c_->listBox1->showCanvas(nullptr);
}

ReportYear TFDrucken::reportYear() const { return yearOf(main_); }

void TFDrucken::showPreview(const RecordingCanvas* canvas) {
    Controls& c = *c_;
    c.panel1->hide();
    c.groupBox1->show();
    c.button6->show();
    c.button9->show();
    c.button1->hide();
    c.listBox1->showCanvas(canvas);
}

void TFDrucken::showStartPanel() {
    Controls& c = *c_;
    c.listBox1->showCanvas(nullptr);
    c.groupBox1->hide();
    c.panel1->show();
}

QSize TFDrucken::screenPage() const {
    // A screen page is three quarters of the screen, and never more than the list area.
    const QWidget* area = c_->listBox1;
    const QScreen* screen = this->screen();
    const int screenHeight = screen ? screen->availableGeometry().height() : area->height();
    return {area->width(), std::min(screenHeight, area->height() * 4 / 3)};
}

void TFDrucken::runOnScreen(const ReportEntry& entry, const ReportOptions& options) {
    QtTextMetric metric;
    RecordingCanvas canvas(metric);
    showPreview(&canvas);
    const ReportYear year = yearOf(main_);
    pager_->begin();
    PageEngine engine(state_, canvas, *pager_, year, services_.clock);
    const QSize page = screenPage();
    printing::runReport(entry, engine, options, page.width(), page.height());
    c_->groupBox1->hide();
}

bool TFDrucken::preparePrinter(QPrinter& printer, std::string_view reportName, std::filesystem::path& pdf) {
    const ReportEntry* entry = findReport(reportName);
    const QString title = qs(documentTitle(*entry, yearOf(main_)));
    if (state_.target == OutputTarget::Pdf) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        pdf = pdfDialog_(std::filesystem::path(documents.toStdString()) /
                         proposedPdfName(*entry, yearOf(main_).yearNumber));
        if (pdf.empty()) {
            return false;
        }
        configurePrinter(printer, title, QString::fromStdString(pdf.string()));
        return true;
    }
    configurePrinter(printer, title);
    if (!printerDialog_(printer)) {
        state_.target = OutputTarget::Cancelled;
        return false;
    }
    return true;
}

void TFDrucken::runOnPaper(const ReportEntry& entry, const ReportOptions& options) {
    const ReportYear year = yearOf(main_);
    QPrinter printer(QPrinter::HighResolution);
    std::filesystem::path pdf;
    if (!preparePrinter(printer, entry.name, pdf)) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = printReport(entry, options, year, state_, printer, services_.clock);
    QApplication::restoreOverrideCursor();
    if (!printed) {
        services_.prompt.message(platform::PromptKind::Error, kCannotPrint);
        return;
    }
    if (!pdf.empty()) offerPdf(pdf);
}

void TFDrucken::offerPdf(const std::filesystem::path& pdf) {
    if (services_.prompt.ask(platform::PromptKind::Information, pdfWrittenQuestion(pdf))) services_.shell.openDocument(pdf);
}

void TFDrucken::Button6Click() {
    state_.paging = PagingState::GoOn;
    pager_->answer(true);
}

void TFDrucken::Button9Click() {
    state_.y = 1;
    state_.paging = PagingState::Stopped;
    pager_->answer(false);
}

void TFDrucken::Button1Click() { Button9Click(); }

void TFDrucken::setWorkbookExport(std::function<void()> open) {
    workbookExport_ = std::move(open);
    c_->button2->setEnabled(bool(workbookExport_));
}

// The reports read the year through queries of their own, so no table of this window
// stays open while the export reads the year.
void TFDrucken::Button3Click() {
    if (workbookExport_) workbookExport_();
}

void TFDrucken::Button8Click() {
    state_.paging = PagingState::Stopped;
    pager_->answer(false);
    reject();
}

}  // namespace quendra::printing
