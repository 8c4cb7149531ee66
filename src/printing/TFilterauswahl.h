#pragma once

#include <QDialog>

#include <filesystem>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quendra::platform {
struct Services;
}

namespace quendra::printing {

// The help file's context of the selection dialogs (cash boxes, accounts, journal range).
inline constexpr int kSelectionHelpContext = 5;

// "scelta cassa": the user moves cash boxes (or main accounts) from the available list to
// the chosen list; the print window builds its ledger's rows from the chosen keys.
class TFilterauswahl : public QDialog {
    Q_OBJECT

public:
    // scaleSetting: the Skala setting the window scales itself by at creation.
    TFilterauswahl(platform::Services& services, int scaleSetting, QWidget* parent = nullptr);

    // What the dialog ended with: the keys ("C0101" or "A07") in the order chosen; none
    // when nothing was chosen or the dialog was cancelled.
    struct Choice {
        std::vector<std::string> keys;
        bool details = false;
    };
    // Shows the dialog modally for main accounts (accounts) or cash boxes of the chart.
    Choice choose(bool accounts, const std::filesystem::path& chartPath);

    // "visualizzazione dettagliata": shown only for the two ledgers; ticked by the print
    // window's reset.
    void setDetailVisible(bool visible);
    void setDetailChecked(bool checked);

    void IncludeBtnClick();  // ">"
    void IncAllBtnClick();   // ">>"
    void ExcludeBtnClick();  // "<"
    void ExAllBtnClick();    // "<<"
    void OKBtnClick();
    void CancelBtnClick();   // "annullare"

private:
    void fillLists();
    void moveSelected(QListWidget* from, QListWidget* to);
    void moveAll(QListWidget* from, QListWidget* to);
    void updateButtons();

    platform::Services& services_;
    bool accounts_ = false;
    std::filesystem::path chartPath_;
    Choice choice_;
    QLabel* heading_;
    QListWidget* available_;
    QListWidget* chosen_;
    QPushButton* include_;
    QPushButton* includeAll_;
    QPushButton* exclude_;
    QPushButton* excludeAll_;
    QCheckBox* details_;
};

}  // namespace quendra::printing
