#pragma once

#include "printing/TJournalwahl.h"
#include "printing/print_state.h"
#include "printing/report_year.h"

#include <QDialog>
#include <QSize>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QGroupBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QWidget;

namespace quendra::platform {
struct Services;
}

// Declared only: moc cannot read the C++20 library headers that main_state.h brings in.
namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::printing {

class PreviewArea;
class PreviewPager;
class RecordingCanvas;
class TFilterauswahl;
struct ReportEntry;
struct ReportOptions;

// "Tovald: Bildschirm - Drucken": the start panel where the user picks a report, an
// option and the output (screen, printer, PDF); the preview runs in its list area. The
// reports come from the catalog by name, so a report added there runs from here as
// soon as its radio button is chosen.
class TFDrucken : public QDialog {
    Q_OBJECT

public:
    TFDrucken(state::MainState& state, platform::Services& services, TFilterauswahl& filterauswahl,
              QWidget* parent = nullptr);
    ~TFDrucken() override;

    // The journal range dialog, created after this window.
    void setJournalwahl(TJournalwahl& journalwahl) { journalwahl_ = &journalwahl; }
    // The program-update check before the annual report ("nein": quiet); true when the
    // program is being updated and restarted, so the window closes.
    void setUpdateCheck(std::function<bool()> check) { updateCheck_ = std::move(check); }
    // The workbook export window, shown modally by the thin button "Button2".
    void setWorkbookExport(std::function<void()> open);
    // The transmission window of the annual report's last item, shown modally.
    void setTransmission(std::function<void()> transmission) { transmission_ = std::move(transmission); }
    // The print dialog (true: print) and the PDF file name (empty: cancelled); tests
    // replace the real dialogs.
    void setPrinterDialog(std::function<bool(QPrinter&)> dialog) { printerDialog_ = std::move(dialog); }
    void setPdfDialog(std::function<std::filesystem::path(const std::filesystem::path& proposed)> dialog) {
        pdfDialog_ = std::move(dialog);
    }

    const PrintState& printState() const { return state_; }

public slots:
    void FormActivate();
    void GroupBox3Enter();
    void RadiojournalMouseDown();
    void StartauswahlClick();
    void wahl1();
    void wahl2();
    void edit1Exit();
    void Edit3Exit();
    void ReportstartClick();
    void Button6Click();  // "&avanti"
    void Button9Click();  // "&esci" of the preview
    void Button1Click();  // "&FINE LISTA"
    void Button8Click();  // "&esci" of the start panel
    void Button3Click();  // the thin button: the workbook export
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Controls;
    friend class AnnualReportOutput;

    void buildWindow();
    void placeOverlays();
    // Runs a catalog report with the options on the chosen output.
    void runReport(std::string_view name, const ReportOptions& options);
    void runOnScreen(const ReportEntry& entry, const ReportOptions& options);
    void runOnPaper(const ReportEntry& entry, const ReportOptions& options);
    // The preview's button bar instead of the start panel, the canvas's current page in
    // the list area.
    void showPreview(const RecordingCanvas* canvas);
    // The list area emptied, the button bar hidden, the start panel shown.
    void showStartPanel();
    // Width and height of a screen page.
    QSize screenPage() const;
    // Configures the printer for the target chosen: asks the print dialog, or the PDF's
    // name (proposed after the report); false when the user cancelled.
    bool preparePrinter(QPrinter& printer, std::string_view reportName, std::filesystem::path& pdf);
    void offerPdf(const std::filesystem::path& pdf);
    ReportYear reportYear() const;
    // The cash-box selection dialog for the ledgers; false when nothing was chosen.
    bool chooseSelection(ReportOptions& options);
    bool chooseJournalRange(ReportOptions& options);

    state::MainState& main_;
    platform::Services& services_;
    TFilterauswahl& filterauswahl_;
    TJournalwahl* journalwahl_ = nullptr;
    PrintState state_;
    std::unique_ptr<Controls> c_;
    QGroupBox* groupBox8_ = nullptr;
    std::unique_ptr<PreviewPager> pager_;
    std::function<bool()> updateCheck_;
    std::function<void()> transmission_;
    std::function<void()> workbookExport_;
    std::function<bool(QPrinter&)> printerDialog_;
    std::function<std::filesystem::path(const std::filesystem::path&)> pdfDialog_;
    bool entryArmed_ = false;
    // The journal's range is asked once per run: on "&giornale" or at the start.
    bool journalRangeChosen_ = false;
    TJournalwahl::Range journalRange_;
};

}  // namespace quendra::printing
