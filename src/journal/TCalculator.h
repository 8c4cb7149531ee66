#pragma once

#include "journal/calculator.h"

#include <QDialog>

#include <optional>

class QLineEdit;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::journal {

// "Rechner (Lire)": the desk calculator whose result can become a movement's amount.
// Keys typed on the keyboard and the key buttons are the same input.
class TCalculator : public QDialog {
    Q_OBJECT

public:
    TCalculator(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);

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
