#pragma once

#include "journal/calculator.h"
#include "journal/main_state.h"
#include "journal/services.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace quendra::journal {

// "Rechner (Lire)": the desk calculator whose result can become a movement's amount.
// Keys typed on the keyboard and the key buttons are the same input.
class TCalculator : public QDialog {
    Q_OBJECT

public:
    TCalculator(MainState& state, Services& services, QWidget* parent = nullptr);

    // "Calcolatrice": shows "0,00" and the calculator modally; the value when it closed
    // with OK and is not 0.
    std::optional<double> askAmount();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One key as its button sends it: "0".."9", ",", "/", "*", "--", "+", "±", "C", "=",
    // and "<" for backspace.
    void press(const QString& key);
    void ButtonOKClick();
    void showDisplay();

    Calculator calculator_;
    QLineEdit* display_;
};

}  // namespace quendra::journal
