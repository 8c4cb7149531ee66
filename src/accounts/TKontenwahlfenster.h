#pragma once

#include <QDialog>

#include <memory>

// Declared only: moc cannot read the C++20 library headers that the core's types bring in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::accounts {

// The chart import: replaces the current year's chart by the standard chart or by the
// chart of another year, keeping the parish data.
class TKontenwahlfenster : public QDialog {
    Q_OBJECT

public:
    TKontenwahlfenster(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~TKontenwahlfenster() override;

    // The main window's "importo piano conti": shows the list modally. True when an
    // import ran (also one that failed part way): the current chart has or may have
    // changed, and the main window's activation must run again to bring it up to the
    // standard accounts. The caller closes its cursors on the chart before.
    bool showImport();

public slots:
    // Lists the charts, the newest year first and the standard chart last, and selects
    // the first line.
    void FormActivate();
    void Button1Click();  // "OK"
    void Button2Click();  // "annulla"

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra::accounts
