#pragma once

#include <QDialog>

#include <functional>
#include <memory>

// Declared only: moc cannot read the C++20 library headers that the core's types bring in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::accounts {

class ChartEditor;

// "Cambiamento piano conti": adds, renames and deletes the main accounts and sub-accounts
// of the current year's chart, class by class. Every change is stored at once.
class Tkoanders : public QDialog {
    Q_OBJECT

public:
    Tkoanders(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~Tkoanders() override;

    // The main window's "cambiamento piano conti" (and the picker's "Cambiamento piano
    // conti"): shows the editor modally on the current chart. The caller closes its own
    // cursors on the chart before and reopens them afterwards.
    void showEditor();

public slots:
    // Opens the chart on class "Uscite", view "Conti". False (told) when it cannot be opened.
    bool FormActivate();
    void RadioGroup1Click();  // the class
    void RadioGroup2Click();  // the view
    void Button5Click();      // "cambiamento"
    void Button6Click();      // "nuovo"
    void loeschenClick();     // "cancellare"
    void Button4Click();      // "uscita"
    // Leaving the text field "oggetto": stores the text.
    void DBEdit1Exit();

    // Closing in any way stores a text being edited and releases the chart.
    void done(int result) override;

private:
    struct Impl;
    // Stores the text of the open field; false when the field stays open (the next text
    // to name, or a text that could not be stored).
    bool storeText();
    // A control's action leaves the field first; false when the field stays open, and
    // the action waits. Focus that left the field for that control has left it already.
    bool leaveTextField();
    void showState();
    // Runs an operation of the editor; a table error is told, and the window shows the
    // editor's state afterwards in any case.
    void run(const std::function<void(ChartEditor&)>& operation);
    void DBGrid1RowChanged(int row);
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra::accounts
