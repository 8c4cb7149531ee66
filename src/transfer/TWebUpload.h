#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::widgets {
class TProgress;
}

namespace quendra::transfer {

// "Web Upload": sends the open year to the central office (shown modally by the print
// window), and the program update, which has no window of its own but the progress
// window this window owns.
class TWebUpload : public QDialog {
    Q_OBJECT

public:
    TWebUpload(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);

    // "Inizio trasmissione alla Velmora": checks the address, sends, opens the check page
    // and closes. It does nothing while a transmission runs.
    void StartClick();
    // "annulla": closes without sending (not while sending).
    void abbrechenClick();
    // A status text of the FTP client: shown in the status line, then the window repaints
    // and answers the user while the transfer goes on.
    void IdFTP1Status(const QString& text);

    // The version check and update: "ja" from the menu "UPDATE" (also says that the
    // program is current, and connection problems), "nein" from the year dialog and the
    // print window (silent but for the offer of a newer version). True when the program
    // was updated or its update failed and the shell was asked to restart it: the caller
    // must not go on with what it was doing.
    bool upcontrolClick(const QString& mode);
    // Fetches the two documents and the two templates again; shows nothing.
    void richtlinie();
    // The activation's first step: fetches the companion files when one of them is missing.
    void refreshMissingFiles();

    widgets::TProgress* progressWindow() const { return progress_; }

    // Esc and "annulla" close the window, but not while a transmission runs.
    void reject() override;

private:
    void runTransmission();

    state::MainState& state_;
    platform::Services& services_;
    QLineEdit* email_;
    QPlainTextEdit* notes_;
    QPushButton* start_;
    QPushButton* cancel_;
    QStatusBar* status_;
    widgets::TProgress* progress_;
    bool running_ = false;
};

}  // namespace quendra::transfer
