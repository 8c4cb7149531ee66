#pragma once

#include <QDialog>
#include <QString>

class QProgressBar;
class QPushButton;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::spreadsheet {

// "Export nach Excel": writes the open year as the workbook "tovald.mappe.xlsx" into the
// user's documents folder as soon as it is shown, with a progress bar, and says where to
// find it. It has no close box; "Zurück" appears, and closes it, once the export has
// ended, well or not.
class TExcelExport : public QDialog {
    Q_OBJECT

public:
    TExcelExport(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~TExcelExport() override;

    // The folder the workbook goes to: the platform's documents folder unless set.
    void setDocumentsFolder(const QString& folder);
    QString workbookPath() const;

public slots:
    // One whole export of the open year (run when the window is shown).
    void FormActivate();
    // "Zurück"
    void Button1Click();

public:
    // Esc closes the window only where "Zurück" would.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    state::MainState& state_;
    platform::Services& services_;
    QString documents_;
    QProgressBar* bar_;
    QPushButton* back_;
    bool running_ = false;
};

}  // namespace quendra::spreadsheet
