#include "printing/TFilterauswahl.h"

#include "platform/services.h"
#include "support/chart_fixture.h"
#include "support/fixed_clock.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace quendra::printing {
namespace {

class CashBoxChoice : public ::testing::Test {
protected:
    void makeChart(int cashBoxes) {
        std::vector<test::ChartRow> rows{{.cod = "  PFAR", .text = "San Vito"},
                                         {.cod = "HA0700", .text = "Culto"},
                                         {.cod = "HC0100", .text = "Cassa"},
                                         {.cod = " P0101", .text = "Mutuo", .texth = "Debiti"}};
        for (int i = 0; i < cashBoxes; ++i) {
            char code[16];
            std::snprintf(code, sizeof code, " C%02d%02d", 1 + i / 99, 1 + i % 99);
            rows.push_back({.cod = code, .text = "Cassa " + std::to_string(i), .texth = "Casse"});
        }
        test::makeChart(chart_, rows);
    }

    TFilterauswahl::Choice choose(bool accounts, const std::function<void()>& steps) {
        QTimer::singleShot(0, &window_, [&] {
            steps();
            if (window_.isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                window_.CancelBtnClick();
            }
        });
        return window_.choose(accounts, chart_);
    }
    QListWidget* list(const char* name) { return window_.findChild<QListWidget*>(name); }
    QPushButton* pushButton(const char* name) { return window_.findChild<QPushButton*>(name); }

    test::TempDir dir_;
    std::filesystem::path chart_ = dir_ / "kw202601.dbf";
    test::ScriptedPrompt prompt_;
    test::FixedClock clock_{storage::Date::fromYmd(2026, 1, 1)};
    test::RecordingShell shell_;
    platform::Services services_{prompt_, clock_, shell_};
    TFilterauswahl window_{services_, 100};
};

TEST_F(CashBoxChoice, MovesLinesAndReturnsTheirKeysInTheOrderChosen) {
    makeChart(3);
    const auto choice = choose(false, [&] {
        EXPECT_EQ(window_.windowTitle(), "scelta cassa");
        EXPECT_EQ(window_.findChild<QLabel*>("Label1")->text(), "Scegli le casse ...");
        QListWidget* available = list("SrcList");
        ASSERT_EQ(available->count(), 4);
        EXPECT_EQ(available->item(0)->text(), "C0101 - Casse / Cassa 0");
        EXPECT_EQ(available->item(3)->text(), "P0101 - Debiti / Mutuo");
        EXPECT_EQ(available->currentRow(), 0);
        EXPECT_FALSE(pushButton("ExcludeBtn")->isEnabled());
        // Two lines at once: walked from the last, so the later one comes first.
        available->item(1)->setSelected(true);
        window_.IncludeBtnClick();
        EXPECT_EQ(available->count(), 2);
        EXPECT_EQ(available->currentRow(), 0);
        EXPECT_EQ(list("DstList")->item(0)->text(), "C0102 - Casse / Cassa 1");
        EXPECT_EQ(list("DstList")->item(1)->text(), "C0101 - Casse / Cassa 0");
        window_.IncAllBtnClick();
        EXPECT_FALSE(pushButton("IncludeBtn")->isEnabled());
        list("DstList")->clearSelection();
        list("DstList")->item(3)->setSelected(true);
        window_.ExcludeBtnClick();
        EXPECT_EQ(available->count(), 1);
        window_.findChild<QCheckBox*>("CheckBox1")->setChecked(false);
        window_.OKBtnClick();
    });
    EXPECT_EQ(choice.keys, (std::vector<std::string>{"C0102", "C0101", "C0103"}));
    EXPECT_FALSE(choice.details);
    EXPECT_TRUE(prompt_.shown.empty());
}

TEST_F(CashBoxChoice, AtMost181LinesAndNothingChosenSaysSo) {
    makeChart(182);
    const auto accepted = choose(false, [&] {
        window_.IncAllBtnClick();
        // 183 lines: P0101 too. Back to 181.
        list("DstList")->clearSelection();
        list("DstList")->item(0)->setSelected(true);
        list("DstList")->item(1)->setSelected(true);
        window_.ExcludeBtnClick();
        ASSERT_EQ(list("DstList")->count(), 181);
        window_.OKBtnClick();
    });
    EXPECT_EQ(accepted.keys.size(), 181u);

    const auto refused = choose(false, [&] {
        window_.IncAllBtnClick();
        list("DstList")->clearSelection();
        list("DstList")->item(0)->setSelected(true);
        window_.ExcludeBtnClick();
        ASSERT_EQ(list("DstList")->count(), 182);
        window_.OKBtnClick();
        EXPECT_TRUE(window_.isVisible());
        EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{"Hai evidenziato troppi campi"}));
        EXPECT_EQ(list("DstList")->count(), 0);
        EXPECT_EQ(list("SrcList")->count(), 183);
        window_.CancelBtnClick();
    });
    EXPECT_TRUE(refused.keys.empty());

    prompt_.shown.clear();
    EXPECT_TRUE(choose(false, [&] { window_.OKBtnClick(); }).keys.empty());
    EXPECT_TRUE(choose(true, [&] {
                    EXPECT_EQ(window_.findChild<QLabel*>("Label1")->text(), "Scegli i contocorrenti ...");
                    EXPECT_EQ(list("SrcList")->item(0)->text(), "A07 - Culto");
                    window_.OKBtnClick();
                }).keys.empty());
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{"Devi scegliere una cassa.", "Devi scegliere un contocorrente."}));
}

}  // namespace
}  // namespace quendra::printing
