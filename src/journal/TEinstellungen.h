#pragma once


#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}  // namespace quendra::state

namespace quendra::journal {

// "Einstellungen" (menu "Impostazioni"): page margins, frames, font character counts and
// window scale, changed in the main window's state at once.
class TEinstellungen : public QDialog {
    Q_OBJECT

public:
    TEinstellungen(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);

    // The window's close control and Escape leave through "uscita" and its page check.
    void reject() override;

protected:
    // Every showing fills the fields from the held values.
    void showEvent(QShowEvent* event) override;

private:
    void fillFields();
    void EditObenExit();
    void EditUntenExit();
    void EditSkalaExit();
    void EditBildschirmExit();
    void EditDruckExit();
    void ButtonUscitaClick();
    void marginExit(QLineEdit* edit, int& held);
    void characterCountExit(QLineEdit* edit, std::string& count);
    void refused(QLineEdit* edit, const std::string& shown, std::string_view message);

    state::MainState& state_;
    platform::Services& services_;
    QLineEdit* top_;
    QLineEdit* bottom_;
    QCheckBox* frames_;
    QLineEdit* scale_;
    QLineEdit* screenFont_;
    QLineEdit* printerFont_;
    QPushButton* uscita_;
    bool checking_ = false;
};

}  // namespace quendra::journal
