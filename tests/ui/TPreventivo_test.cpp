#include "budget/TPreventivo.h"

#include "budget/budget_figures.h"
#include "storage/amount_format.h"
#include "support/demo_year_state.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <cstdlib>

namespace quendra::budget {
namespace {

class BudgetWindow : public ::testing::Test {
protected:
    BudgetWindow() {
        // Last year beside the open 2015-01.
        storage::makeDemoDataDirectory(year_.home.path(), std::filesystem::path(QUENDRA_RUNTIME_DIR) / "krw",
                                       {2014, 60, 2});
        window_.FormActivate();
        window_.show();
        grid_ = window_.findChild<QTableWidget*>("GridPreventivo");
    }

    int rowOf(const QString& code) const {
        for (int row = 0; row < grid_->rowCount(); ++row) {
            if (grid_->item(row, 0)->text() == code) return row;
        }
        ADD_FAILURE() << code.toStdString();
        return 0;
    }
    std::filesystem::path budgetFile() const { return year_.home / "kv201501.dbf"; }
    std::filesystem::path lastYear() const { return year_.home / "kr201401.dbf"; }
    QString total(const char* name) const { return window_.findChild<QLabel*>(name)->text(); }

    test::DemoYearState year_;
    TPreventivo window_{year_.state, year_.services};
    QTableWidget* grid_ = nullptr;
};

TEST_F(BudgetWindow, TypedAmountIsWrittenAtOnceAndSummed) {
    ASSERT_NE(grid_, nullptr);
    EXPECT_EQ(grid_->item(0, 1)->text(), "ENTRATE");
    EXPECT_FALSE(std::filesystem::exists(budgetFile())) << "a year made before budgets";
    const int row = rowOf("E0101");
    const int heading = rowOf("E01");
    const struct {
        QString typed;
        double stored;
        QString shown;
        bool refused;
    } cases[] = {
        {"1.234,5", 1234.5, "1.234,50", false},
        {"abc", 1234.5, "1.234,50", true},
        {"0", 0, "0,00", false},
    };
    for (const auto& c : cases) {
        year_.prompt.shown.clear();
        grid_->item(row, 4)->setText(c.typed);
        const Budget stored = readBudget(budgetFile());
        EXPECT_EQ(stored.contains(" E0101") ? stored.at(" E0101").amount : 0, c.stored) << c.typed.toStdString();
        EXPECT_EQ(grid_->item(row, 4)->text(), c.shown);
        EXPECT_EQ(year_.prompt.shown.size(), c.refused ? 1u : 0u);
        if (!c.refused) {
            EXPECT_EQ(grid_->item(heading, 4)->text(), c.shown) << "the main account's sum";
        }
    }
    grid_->item(row, 4)->setText("800");
    grid_->item(rowOf("A0101"), 4)->setText("300");
    EXPECT_TRUE(total("LabelEntrate").startsWith("ENTRATE previste 800,00\nconsuntivo "));
    EXPECT_TRUE(total("LabelSaldo").startsWith("SALDO previsto 500,00\nconsuntivo "));
    if (const char* dir = std::getenv("QUENDRA_SCREENSHOT_DIR")) window_.grab().save(QString(dir) + "/TPreventivo.png");
}

TEST_F(BudgetWindow, ProposalAsksBeforeReplacingTypedAmounts) {
    grid_->item(rowOf("E0101"), 4)->setText("7");
    window_.findChild<QLineEdit*>("EditPercentuale")->setText("10");
    year_.prompt.answer(false);
    window_.ProponiClick();
    ASSERT_EQ(year_.prompt.shown.size(), 1u);
    EXPECT_EQ(readBudget(budgetFile()).at(" E0101").amount, 7);

    year_.prompt.answer(true);
    window_.ProponiClick();
    std::map<std::string, double> stored, proposed;
    for (const auto& [code, planned] : readBudget(budgetFile())) {
        if (planned.amount != 0) stored[code] = planned.amount;
    }
    for (const auto& [code, planned] : proposal(actualAmounts(lastYear()), 10)) proposed[code] = planned.amount;
    EXPECT_FALSE(proposed.empty());
    EXPECT_EQ(stored, proposed);
    EXPECT_EQ(grid_->item(rowOf("E0101"), 4)->text().toStdString(),
              storage::formatNumber(proposed.contains(" E0101") ? proposed[" E0101"] : 0, storage::Picture::Amount));
}

TEST_F(BudgetWindow, WithoutLastYearThereIsNothingToPropose) {
    std::filesystem::remove(lastYear());
    window_.FormActivate();
    EXPECT_EQ(grid_->horizontalHeaderItem(2)->text(), "(manca l'anno precedente)");
    window_.ProponiClick();
    ASSERT_EQ(year_.prompt.shown.size(), 1u);
    EXPECT_NE(year_.prompt.shown[0].text.find("Manca l'esercizio"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(budgetFile()));
}

}  // namespace
}  // namespace quendra::budget
