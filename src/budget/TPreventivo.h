#pragma once

#include <QDialog>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QTableWidget;
class QTableWidgetItem;

// Declared only: moc cannot read the C++20 library headers that main_state.h brings in.
namespace quendra::platform {
struct Services;
}

namespace quendra::state {
struct MainState;
}

namespace quendra::budget {

struct Overview;

// "Preventivo": the open year's income and expense accounts in code order, main accounts
// as headings with their sums, each sub-account with last year's and this year's actual
// amount and the planned amount, which is written into the budget as soon as it is typed.
// The totals stay visible below the grid.
class TPreventivo : public QDialog {
    Q_OBJECT

public:
    TPreventivo(state::MainState& state, platform::Services& services, QWidget* parent = nullptr);
    ~TPreventivo() override;

    // Reads the open year anew and shows the window modally.
    void showBudget();

public slots:
    // Reads the open year, its budget and last year's actual amounts anew.
    void FormActivate();
    // "Proponi dal consuntivo": last year's actual amounts, raised by the percentage,
    // in whole euros; asks before it replaces amounts already typed.
    void ProponiClick();

private:
    void fill();
    void showSums();
    void plannedTyped(QTableWidgetItem* item);
    void moveToNextAmount(int row);

    state::MainState& state_;
    platform::Services& services_;
    std::unique_ptr<Overview> overview_;
    QTableWidget* grid_ = nullptr;
    QLineEdit* percent_ = nullptr;
    std::vector<QLabel*> totals_;  // ENTRATE, USCITE, SALDO
    bool filling_ = false;
};

}  // namespace quendra::budget
