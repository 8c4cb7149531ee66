#pragma once

#include "journal/main_state.h"
#include "journal/services.h"
#include "storage/date.h"

#include <QDialog>

#include <optional>

class QCalendarWidget;
class QLabel;

namespace quendra::journal {

// The date picker of the entry panel: a month calendar (weeks start on Sunday) under a
// title "MMMM, YYYY" with the Italian month name.
class TDatumform : public QDialog {
    Q_OBJECT

public:
    TDatumform(MainState& state, Services& services, QWidget* parent = nullptr);

    // Shows the calendar on date (today when it is empty); the chosen date after "&OK",
    // none after "annulla".
    std::optional<storage::Date> pickDate(storage::Date date);

private:
    void Calendar1PageChanged(int year, int month);

    Services& services_;
    QCalendarWidget* calendar_;
    QLabel* title_;
};

}  // namespace quendra::journal
