#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

// Declared only: the Qt meta-object compiler cannot read the standard headers that the
// core's types pull in.
namespace quendra::platform {
struct Services;
}
namespace quendra::state {
struct MainState;
}
namespace quendra::storage {
class Cursor;
}

namespace quendra::bankimport {

// "Importa estratto conto": a bank's statement file shown as proposed movements of the
// open year, ticked, given their accounts, and posted on "importa".
class TKontoauszug : public QDialog {
    Q_OBJECT

public:
    // picker: the account picker on a journal row (TKWN::showFor); it writes cod and codd.
    using AccountPicker = std::function<void(storage::Cursor& row, bool openingChecked)>;
    TKontoauszug(state::MainState& state, platform::Services& services, AccountPicker picker,
                 QWidget* parent = nullptr);
    ~TKontoauszug() override;

    // Shows the window modally for the open year; true when movements were posted.
    bool showImport();
    // Reads a statement file as if the user had chosen it.
    void openFile(const QString& file);

private:
    struct Impl;
    void ButtonFileClick();
    void ComboCassaChange();
    void ButtonColonneClick();
    void GridProposteDoubleClick(int row, int column);
    void ButtonImportaClick();
    // The tick boxes as the user left them, into the proposals.
    void readTicks();
    void load();
    void showProposals();
    void showColumnChoice();
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra::bankimport
