#pragma once

#include <QMainWindow>
#include <QPointer>

#include "journal/THilfe.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QMenu;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}
namespace quendra::widgets {
class ElidedLabel;
class OverlayField;
}

namespace quendra::storage {
class Cursor;
class Date;
}  // namespace quendra::storage

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::journal {

struct YearCursors;
struct EntryContext;
class JournalGridModel;
class JournalGridView;

// The other windows as the main window calls them. main() fills in those that exist; an
// empty function leaves its menu item or button disabled.
struct MainformWindows {
    // TKWN::showFor: writes cod, codd (and eroeffnung) of the journal's current row.
    std::function<void(storage::Cursor& journal, bool openingChecked)> accountPicker;
    // TDatumform::pickDate: true when a date was chosen.
    std::function<bool(storage::Date& date)> datePicker;
    // TSuchen::showFor: leaves the journal on the row found.
    std::function<void(storage::Cursor& journal)> search;
    // TCalculator::askAmount: the value when the calculator closed with OK and it is not 0.
    std::function<std::optional<double>()> calculator;
    std::function<void()> settingsDialog;  // TEinstellungen
    std::function<void()> info;            // TInfo
    // The year dialog (TOeffnen::showModal), for choosing, restoring or deleting a year;
    // it may change Hauptdatei and Konto. False when the user left it to end the program.
    std::function<bool()> changeYear;
    std::function<bool()> restoreSavedYear;
    // The current year's rows cannot be read (the damage is the argument): offers its
    // newest backup; true when the year was restored.
    std::function<bool(const std::string& damage)> restoreDamagedYear;
    std::function<bool()> deleteYear;
    std::function<void()> saveYearCopy;
    std::function<void()> chartEditor;
    std::function<void()> chartImport;
    std::function<void()> printWindow;
    // Creates the balance summary anew, shows it modally and destroys it.
    std::function<void()> balanceSummary;
    std::function<void()> programUpdate;
    // The workbook export (TExcelExport), also reached from the print window.
    std::function<void()> workbookExport;
    // TKontoauszug::showImport: true when movements were posted.
    std::function<bool()> statementImport;
    // TPreventivo::showBudget: the year's budget beside its actual amounts.
    std::function<void()> budget;
};

// The main window: owns the open year, shows the journal with the entry panel above it,
// and leads to every other window.
class TMainform : public QMainWindow {
    Q_OBJECT

public:
    TMainform(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~TMainform() override;

    void setWindows(MainformWindows windows);
    // Closes the cursors on the year's tables (the year dialog does so before it packs,
    // deletes or carries into them); the activation or the caller opens them again.
    void closeYearTables();

public slots:
    // Opens the current year (runs by itself when the window is first shown).
    void FormActivate();
    // The picker's "entrate" (2) / "uscite" (1).
    void sideChosen(int ea);
    // The picker changed the row's opening mark.
    void openingMarkChanged(bool checked);
    // "cambiamento piano conti" (also the picker's "Cambiamento piano conti").
    void CambiamentoPianoContiClick();
    // The journal cursor was moved from outside (the search): the panel and the list follow.
    void journalMoved();

signals:
    // The side the panel shows (0 while undecided), whenever it shows a row; the picker's
    // "entrate" / "uscite" follow (TKWN::setSide).
    void sideChanged(int ea);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A new font (the window's scale) gives the fields their widths anew.
    void changeEvent(QEvent* event) override;

private:
    void createMenu();
    // Widths in characters of the window's font, so that they follow its scale.
    void sizeFields();
    void createPanel(QWidget* panel);
    QWidget* createButtons();
    QPushButton* button(const QString& caption, const QString& name, void (TMainform::*handler)());
    QAction* menuAction(QMenu* menu, const QString& caption, const QString& name, void (TMainform::*handler)());
    void enableWindows();
    // Closes the year and lets the message loop end; nothing more is asked or written.
    void endProgram();
    EntryContext context();
    // Runs a handler; a table error becomes an Italian error box and the window stays
    // usable, a missing year file ends the program.
    bool guarded(const std::function<void()>& handler);
    void showCurrentRow();
    void showTitle();
    void reloadList();
    void rowChangedInPlace();

    // Journal entry (the row's fields, Enter leading from one to the next).
    void NuovoRecordClick();
    void newMovementAndStartDate();
    void EliminaRecordClick();
    void DBGrid1CtrlDelete();
    void DBGrid1RowChosen();
    void DBEditdatumEnter();
    bool EditdatumExit();
    void ButtonDatumClick();
    void DBEdittextChanged();
    void DBEditcodEnter();
    bool EditkontoExit();
    void DBEditcoddEnter();
    bool EditkasseExit();
    void DBEditbetragEnter();
    bool EditbetragExit();
    void afterAmount();
    void PickerButtonClick();
    void openAccountPicker(bool openingChecked);
    void RadioEntrataClick();
    void RadioUscitaClick();
    void CheckPrimaAperturaClick();
    void ListOrderChange(int index);
    // Stores what the open edit fields hold; false when one of them could not be read
    // and stays open for the user to put right.
    bool settleEdits();
    void backFromDialog();
    void focusDate();
    void focusAmount();

    // Menu and buttons.
    void CambiareAnnoClick();
    void SalvataggioClick();
    void RiorganizzazioneClick();
    void FineClick();
    void ImportoAnnoClick();
    void CancellaAnnoClick();
    void ImportoPianoContiClick();
    void ImportaEstrattoClick();
    void ImpostazioniClick();
    void PreventivoClick();
    void CalcolatriceClick();
    void InfoClick();
    void ManualeClick();
    void IndicazioniClick();
    void GuidaClick();
    void EsportazioneClick();
    // The help key: the diocese's help file where it can be shown, else our manual.
    void showHelp(std::optional<int> context);
    // Our manual's page at the anchor; a message when the manual is not installed.
    void showManualPage(const QString& page, const QString& anchor);
    void UpdateClick();
    void StampaClick();
    void RicercaClick();
    void PatrimonialeClick();

    state::MainState& state_;
    platform::Services& services_;
    MainformWindows windows_;
    std::unique_ptr<YearCursors> year_;
    bool activated_ = false;
    bool ending_ = false;
    // The amount was left in adding mode: the next movement is asked for once the focus
    // has settled.
    bool nextMovementPending_ = false;

    QPointer<THilfe> help_;
    widgets::ElidedLabel* title_;
    JournalGridView* grid_;
    JournalGridModel* model_;
    QLineEdit* number_;
    widgets::OverlayField* date_;
    QPushButton* dateButton_;
    QLineEdit* text_;
    widgets::OverlayField* account_;
    widgets::OverlayField* cashBox_;
    widgets::OverlayField* amount_;
    widgets::ElidedLabel* accountType_;
    widgets::ElidedLabel* accountMain_;
    widgets::ElidedLabel* accountName_;
    widgets::ElidedLabel* cashBoxText_;
    widgets::ElidedLabel* amountType_;
    QRadioButton* entrata_;
    QRadioButton* uscita_;
    QButtonGroup* side_;
    QCheckBox* opening_;
    QComboBox* listOrder_;
    std::vector<QPushButton*> pickerButtons_;
};

}  // namespace quendra::journal
