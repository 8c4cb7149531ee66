#pragma once


#include <QDialog>

class QCalendarWidget;
class QLabel;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::storage {
class Date;
}

namespace quendra::journal {

// The date picker of the entry panel: a month calendar (weeks start on Sunday) under a
// title "MMMM, YYYY" with the Italian month name.
class TDatumform : public QDialog {
    Q_OBJECT

public:
    TDatumform(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);

    // Shows the calendar on date (today when it is empty). "&OK" puts the chosen date into
    // date and answers true; "annulla" leaves it and answers false.
    bool pickDate(storage::Date& date);

private:
    void Calendar1PageChanged(int year, int month);

    platform::Services& services_;
    QCalendarWidget* calendar_;
    QLabel* title_;
};

}  // namespace quendra::journal
