#pragma once

#include <QDialog>

#include <memory>

// Declared only: moc cannot read the C++20 library headers that main_state.h brings in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::statements {

// "Riepilogo": the assets and liabilities of the open year at its opening and at its
// close, read-only. Lines appear while the journal is read; a year with more groups than
// the grid of 26 lines holds makes the grid scroll.
class TZusammenfassung : public QDialog {
    Q_OBJECT

public:
    TZusammenfassung(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~TZusammenfassung() override;

    // The main window's "situazione &patrimoniale": a new summary, shown modally and
    // destroyed when it closes.
    static void showSummary(state::MainState& state, platform::Services& services, QWidget* parent);

public slots:
    // Computes the summary anew. A table or query that fails is reported, and the lines
    // filled so far stay.
    void FormActivate();
    // "uscita"
    void uscitaClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra::statements
