#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::years {

// What the year dialog asks of the rest of the program. An empty function is a part
// that is not there: no update check, no tables to close, the Qt file choosers.
struct YearDialogHooks {
    // The program update's quiet check (upcontrolClick with "nein"), run before a year
    // is opened or created; true when it restarts the program, which then leaves the
    // dialog as "&esci" does, before anything of a year is touched.
    std::function<bool()> updateCheck;
    // The main window closes its journal and chart cursors, before a year's files are
    // packed, deleted or carried into.
    std::function<void()> closeMainTables;
    // The folder a copy of the current year is saved into; nullopt when cancelled.
    std::function<std::optional<std::filesystem::path>()> chooseSaveFolder;
    // The saved journal to import (KR*.DBF); nullopt when cancelled.
    std::function<std::optional<std::filesystem::path>()> chooseSavedJournal;
};

// "Quendra: operazioni file": lists the years of the data directory, opens, creates,
// imports and deletes them, edits a year's parish data and carries balances into a
// year. It has no close control: it is left by "aprire anno scelto" or "&esci".
class TOeffnen : public QDialog {
    Q_OBJECT

public:
    TOeffnen(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~TOeffnen() override;

    void setHooks(YearDialogHooks hooks);

    // Shows the dialog modally: at start-up without a current journal, and for the main
    // window's "cambiare l'anno", "importo anno salvato" and "cancella anno". True when a
    // year was opened (Hauptdatei and Konto name it), false after "&esci" or a missing
    // year file, when the program is ending.
    bool showModal();

    // "salvataggio anno attuale": a copy of the current year into a folder the user
    // chooses, without showing the dialog.
    void Button6Click();

    // A refusal to close: only "aprire anno scelto" and "&esci" leave the dialog.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Impl;
    void EinlesenClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button5Click();
    void NeuesjahrClick();
    void njradioClick(int choice);
    void njbuttonClick();
    void njok2Click();
    void njokClick();
    void njabbruchClick();
    void njabbruch2Click();
    void MaskEdit1Exit();
    void abbruchClick();
    void zurueckholenClick();
    void esciClick();
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra::years
