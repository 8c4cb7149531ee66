#pragma once

#include "journal/journal_search.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quendra::platform {
struct Services;
}

namespace quendra::storage {
class Cursor;
}

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::journal {

// "Such-Fenster": searches the main window's journal by number, date or text, in the
// journal's current list order.
class TSuchen : public QDialog {
    Q_OBJECT

public:
    TSuchen(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);

    // Shows the search modally on the main window's journal cursor; when it returns, the
    // row found last is the cursor's current row.
    void showFor(storage::Cursor& journal);

signals:
    // The journal cursor moved (a search, or the first row after choosing a kind): the
    // main window shows its current row.
    void journalMoved();

private:
    // One step of the search; false after a table error, which was shown.
    bool searchOnce(const std::string& text, SearchOutcome& outcome);
    void FormActivate();
    void RadioGroup1Click();
    void Button1Click();
    SearchKind kind() const;

    platform::Services& services_;
    storage::Cursor* journal_ = nullptr;
    JournalSearch search_;
    QRadioButton* numero_;
    QRadioButton* data_;
    QRadioButton* oggetto_;
    QLineEdit* text_;
    QPushButton* searchButton_;
};

}  // namespace quendra::journal
