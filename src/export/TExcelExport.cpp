#include "export/TExcelExport.h"

#include "export/export_error.h"
#include "export/year_export.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/error.h"
#include "storage/year_files.h"
#include "widgets/QtHelpers.h"
#include "widgets/WindowScaling.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <new>

namespace quendra::spreadsheet {

namespace {

constexpr const char* kFinished = "Die Excel-Exportdatei ist unter \"Dokumente\" zu finden.";

// The bar follows the rows read; it repaints about two hundred times however long the
// year is, so that drawing does not slow the export down.
class BarProgress : public ExportProgress {
public:
    explicit BarProgress(QProgressBar* bar) : bar_(bar) {}

    void started(std::size_t maximum) override {
        // An empty bar range would make Qt show a busy bar instead.
        maximum_ = int(std::clamp<std::size_t>(maximum, 1, std::size_t(std::numeric_limits<int>::max())));
        step_ = std::max(1, maximum_ / 200);
        bar_->setRange(0, maximum_);
        show(0);
    }
    void advanced(std::size_t count) override {
        const int value = int(std::min<std::size_t>(count, std::size_t(maximum_)));
        if (value - bar_->value() >= step_) show(value);
    }
    void finish() { show(maximum_); }

private:
    void show(int value) {
        bar_->setValue(value);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    QProgressBar* bar_;
    int maximum_ = 1;
    int step_ = 1;
};

}  // namespace

TExcelExport::TExcelExport(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), state_(state), services_(services) {
    setObjectName("ExcelExport");
    setWindowTitle("Export nach Excel");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    QLabel* notice = widgets::label("Label1", "Zur Beachtung", this);
    QFont bold = notice->font();
    bold.setBold(true);
    notice->setFont(bold);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar1");
    bar_->setTextVisible(false);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    back_ = widgets::button("Button1", "Zurück", this);
    back_->setMinimumWidth(back_->sizeHint().width() + 24);
    back_->hide();
    connect(back_, &QPushButton::clicked, this, &TExcelExport::Button1Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(4);
    layout->addWidget(notice);
    layout->addWidget(
        widgets::label("Label2", " Bitte haben Sie nun etwas Geduld bis der Transportvorgang abgeschlossen", this));
    layout->addWidget(widgets::label("Label3", " ist   ...", this));
    layout->addSpacing(12);
    layout->addWidget(bar_);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    // The button's room is kept while it is hidden, so the window does not jump.
    QSizePolicy keep = back_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    back_->setSizePolicy(keep);
    widgets::scaleWindow(this, state.settings.scalePercent());
    setFixedSize(sizeHint());

    documents_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

TExcelExport::~TExcelExport() = default;

void TExcelExport::setDocumentsFolder(const QString& folder) { documents_ = folder; }

QString TExcelExport::workbookPath() const {
    return QDir(documents_).filePath(widgets::qs(kWorkbookFileName));
}

void TExcelExport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    back_->hide();
    bar_->setRange(0, 1);
    bar_->setValue(0);
    // After the window has appeared, so that the user sees it fill.
    QTimer::singleShot(0, this, &TExcelExport::FormActivate);
}

void TExcelExport::FormActivate() {
    if (running_) return;
    running_ = true;
    back_->hide();
    BarProgress progress(bar_);
    std::string failure;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        if (documents_.isEmpty()) throw ExportError("La cartella \"Documenti\" dell'utente non è nota.");
        exportYear(state_.journalPath(), state_.chartPath(), storage::yearNumberOf(state_.settings.hauptdatei).value_or(""),
                   workbookPath().toStdString(), &progress);
        progress.finish();
    } catch (const storage::DbError& error) {
        failure = error.what();
    } catch (const ExportError& error) {
        failure = error.what();
    } catch (const std::bad_alloc&) {
        failure = "Memoria insufficiente per l'esportazione in Excel.";
    } catch (const std::exception&) {
        failure = "L'esportazione in Excel non è riuscita per un errore interno.";
    }
    QApplication::restoreOverrideCursor();
    running_ = false;
    back_->show();
    if (failure.empty()) {
        services_.prompt.message(platform::PromptKind::Information, kFinished);
    } else {
        services_.prompt.message(platform::PromptKind::Error, failure);
    }
}

void TExcelExport::Button1Click() { accept(); }

void TExcelExport::reject() {
    if (!running_ && !back_->isHidden()) QDialog::reject();
}

void TExcelExport::closeEvent(QCloseEvent* event) {
    if (running_ || back_->isHidden()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace quendra::spreadsheet
