#pragma once

#include <QDialog>

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::storage {
class Cursor;
}

namespace quendra::accounts {

// "Scelta conti": the account picker. Chooses cod and codd of the current journal row in
// five linked lists, marks opening rows, searches accounts by text.
class TKWN : public QDialog {
    Q_OBJECT

public:
    TKWN(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~TKWN() override;

    // Shows the picker modally for the journal cursor's current row. openingChecked is the
    // state of the main screen's "prima apertura" box. When it returns, the row has been
    // written (cod, codd and, through the box, eroeffnung) and posted.
    void showFor(storage::Cursor& journal, bool openingChecked);
    bool openingChecked() const;

signals:
    // "entrate" (EA 2) or "uscite" (EA 1) was ticked: the main screen's side step runs.
    void sideChosen(int ea);
    // The picker's "prima apertura" changed the row's mark: the main screen's box follows.
    void openingMarkChanged(bool checked);
    // "Cambiamento piano conti": the main window runs its chart-editor command; the picker
    // rereads its lists afterwards (reloadLists).
    void chartEditorRequested();

public slots:
    // The main screen's side choice, which the picker's "entrate" / "uscite" follow.
    void setSide(int ea);
    void reloadLists();
    // The window's close control closes like "&OK": the choice is written.
    void reject() override;

protected:
    // Escape is "annulla".
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Impl;
    bool FormActivate(bool openingChecked);
    // Shows a, b and the five lists as the picker holds them.
    void aktualisieren();
    void DBgride1aMouseUp();
    void DBgride2aMouseUp();
    void DBgride3aMouseUp();
    void DBgride4aMouseUp();
    void DBGrid1MouseUp();
    void Button1Click();
    void Button6Click();
    void Button5Click();
    void Button3Click();
    void Button4Click();
    void Button2Click();
    void Button7Click();
    void EroeffnungClick();
    void closeSearchPanel();
    void finish(bool cancelled);
    Impl* impl_;
};

}  // namespace quendra::accounts
