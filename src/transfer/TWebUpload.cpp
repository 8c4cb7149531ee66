#include "transfer/TWebUpload.h"

#include "widgets/QtHelpers.h"
#include "widgets/TProgress.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/error.h"
#include "transfer/companion_files.h"
#include "transfer/parish_info.h"
#include "transfer/program_update.h"
#include "transfer/transfer_error.h"
#include "transfer/transmission.h"
#include "transfer/update_progress.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quendra::transfer {

namespace {

// The update's bar, on the progress window.
class ProgressWindowBar : public UpdateProgress {
public:
    explicit ProgressWindowBar(widgets::TProgress& window) : window_(window) {}
    void show() override {
        window_.setRange(0, 100);
        window_.show();
        window_.raise();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void advance(int points) override {
        window_.setStep(points);
        window_.advance();
    }
    void close() override { window_.hide(); }

private:
    widgets::TProgress& window_;
};

// While the update's transfers run the windows repaint, but the user waits.
void repaintOnly(const std::string&) { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

std::filesystem::path temporaryDirectory() {
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : dir;
}

// Our own failures carry Italian texts; anything else gets one.
std::string localFailureText(const std::exception& failure) {
    if (dynamic_cast<const storage::DbError*>(&failure) || dynamic_cast<const TransferError*>(&failure)) {
        return failure.what();
    }
    return "I file da trasmettere non si possono preparare.";
}

// The window while a transmission runs: start hidden, "annulla" off, busy cursor; all of
// it undone however the run ends.
class RunningTransmission {
public:
    RunningTransmission(bool& running, QPushButton* start, QPushButton* cancel)
        : running_(running), start_(start), cancel_(cancel) {
        running_ = true;
        start_->hide();
        cancel_->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~RunningTransmission() {
        QApplication::restoreOverrideCursor();
        cancel_->setEnabled(true);
        start_->show();
        running_ = false;
    }
    RunningTransmission(const RunningTransmission&) = delete;
    RunningTransmission& operator=(const RunningTransmission&) = delete;

private:
    bool& running_;
    QPushButton* start_;
    QPushButton* cancel_;
};

}  // namespace

TWebUpload::TWebUpload(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), state_(state), services_(services) {
    setObjectName("TWebUpload");
    setWindowTitle("Web Upload");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* instruction =
        widgets::label("LabelIstruzione", "Immettere suo indirizzo email e premere poi\nInizio trasmissione", this);
    QFont bold = instruction->font();
    bold.setBold(true);
    instruction->setFont(bold);
    email_ = new QLineEdit(this);
    email_->setObjectName("Editemail");
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName("Memo1");
    notes_->setTabChangesFocus(true);
    start_ = new QPushButton("Inizio trasmissione alla Velmora", this);
    start_->setObjectName("Start");
    start_->setDefault(true);
    cancel_ = new QPushButton("annulla", this);
    cancel_->setObjectName("abbrechen");
    cancel_->setAutoDefault(false);
    status_ = new QStatusBar(this);
    status_->setObjectName("StatusBar1");
    status_->setSizeGripEnabled(false);
    status_->setStyleSheet("QStatusBar { border-top: 1px solid palette(mid); padding-left: 6px; }");
    for (QPushButton* button : {start_, cancel_}) {
        button->setMinimumSize(button->sizeHint().width() + 24, button->sizeHint().height() + 4);
    }
    connect(start_, &QPushButton::clicked, this, &TWebUpload::StartClick);
    connect(cancel_, &QPushButton::clicked, this, &TWebUpload::abbrechenClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto* form = new QVBoxLayout;
    form->setContentsMargins(12, 12, 12, 6);
    form->addWidget(instruction);
    form->addSpacing(10);
    form->addWidget(widgets::label("LabelEmail", "Indirizzo email della Parrocchia", this));
    form->addWidget(email_);
    form->addSpacing(6);
    form->addWidget(widgets::label("LabelAnnotazioni", "annotazioni", this));
    form->addWidget(notes_, 1);
    form->addSpacing(6);
    form->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(form, 1);
    layout->addWidget(status_);
    resize(440, 360);

    progress_ = new widgets::TProgress(state, services, this);
}

void TWebUpload::StartClick() {
    if (running_) return;
    if (!acceptEmail(email_->text().toStdString(), services_.prompt)) return;
    runTransmission();
}

void TWebUpload::runTransmission() {
    TransmissionResult result = TransmissionResult::NoServer;
    std::string failure;
    {
        const RunningTransmission running(running_, start_, cancel_);
        const TransmissionRequest request{state_.dataDir,
                                          state_.settings.hauptdatei,
                                          state_.settings.konto,
                                          email_->text().toStdString(),
                                          textLines(notes_->toPlainText().toStdString()),
                                          state_.settings.server,
                                          temporaryDirectory()};
        try {
            result = transmit(request, services_,
                              [this](const std::string& text) { IdFTP1Status(QString::fromStdString(text)); });
        } catch (const std::exception& error) {
            failure = localFailureText(error);
        }
    }
    if (!failure.empty()) {
        services_.prompt.message(platform::PromptKind::Error, failure);
        return;
    }
    if (result == TransmissionResult::NoServer) return;
    email_->clear();
    notes_->clear();
    accept();
}

void TWebUpload::abbrechenClick() { reject(); }

void TWebUpload::reject() {
    if (!running_) QDialog::reject();
}

void TWebUpload::IdFTP1Status(const QString& text) {
    status_->showMessage(text);
    QCoreApplication::processEvents();
}

bool TWebUpload::upcontrolClick(const QString& mode) {
    ProgressWindowBar bar(*progress_);
    const UpdateOutcome outcome = checkForUpdate(state_, services_, updateMode(mode.toStdString()), bar, repaintOnly);
    return restartFollows(outcome);
}

void TWebUpload::richtlinie() { transfer::richtlinie(services_.net, state_, repaintOnly); }

void TWebUpload::refreshMissingFiles() { refreshMissingCompanionFiles(services_.net, state_, repaintOnly); }

}  // namespace quendra::transfer
