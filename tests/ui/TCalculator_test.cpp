#include "journal/TCalculator.h"

#include "state/main_state.h"
#include "platform/services.h"

#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace quendra::journal {
namespace {

class CalculatorWindow : public ::testing::Test {
protected:
    std::string display() { return calculator_.findChild<QLineEdit*>("Display")->text().toStdString(); }
    void click(const char* key) {
        QPushButton* button = calculator_.findChild<QPushButton*>(key);
        ASSERT_NE(button, nullptr) << key;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    std::optional<double> ask(const std::function<void()>& steps) {
        QTimer::singleShot(0, &calculator_, [&] {
            steps();
            if (calculator_.isVisible()) {
                ADD_FAILURE() << "the calculator is still open";
                calculator_.done(0);
            }
        });
        return calculator_.askAmount();
    }

    state::MainState state_;
    test::ScriptedPrompt prompt_;
    test::FixedClock clock_{test::ymd(2015, 6, 1)};
    test::RecordingShell shell_;
    platform::Services services_{prompt_, clock_, shell_};
    TCalculator calculator_{state_, services_};
};

TEST_F(CalculatorWindow, KeyboardAndButtonsAreTheSameInput) {
    calculator_.show();
    EXPECT_EQ(calculator_.windowTitle().toStdString(), "Rechner (Lire)");
    QTest::keyClicks(&calculator_, "12+3=");
    EXPECT_EQ(display(), "15,00");
    click("KeyClear");
    click("Key1");
    click("Key2");
    click("KeyMinus");
    click("Key3");
    click("KeyEquals");
    EXPECT_EQ(display(), "9,00");
    // Either decimal key, backspace and the sign key.
    QTest::keyClicks(&calculator_, "c2.5");
    QTest::keyClick(&calculator_, Qt::Key_Backspace);
    QTest::keyClicks(&calculator_, "75");
    EXPECT_EQ(display(), "2,75");
    click("KeyPlusMinus");
    EXPECT_EQ(display(), "-2,75");
}

TEST_F(CalculatorWindow, DivisionByZeroShowsErrorUntilC) {
    calculator_.show();
    click("Key7");
    click("KeyDivide");
    click("Key0");
    click("KeyEquals");
    EXPECT_EQ(display(), "Error");
    click("Key5");
    EXPECT_EQ(display(), "Error");
    click("KeyClear");
    EXPECT_EQ(display(), "0");
}

TEST_F(CalculatorWindow, OkTakesTheResultOver) {
    EXPECT_EQ(ask([&] {
                  EXPECT_EQ(display(), "0,00");
                  QTest::keyClicks(&calculator_, "12+3");
                  click("ButtonOK");
              }),
              15.0);
    // Enter is OK too; the display starts again at "0,00".
    EXPECT_EQ(ask([&] {
                  EXPECT_EQ(display(), "0,00");
                  QTest::keyClicks(&calculator_, "4*2,5");
                  QTest::keyClick(&calculator_, Qt::Key_Return);
              }),
              10.0);
}

TEST_F(CalculatorWindow, AnnullaZeroAndErrorTakeNothingOver) {
    EXPECT_EQ(ask([&] {
                  QTest::keyClicks(&calculator_, "12");
                  click("ButtonAnnulla");
              }),
              std::nullopt);
    EXPECT_EQ(ask([&] {
                  QTest::keyClicks(&calculator_, "C5-5");
                  click("ButtonOK");
              }),
              std::nullopt);
    EXPECT_EQ(ask([&] {
                  QTest::keyClicks(&calculator_, "7/0");
                  click("ButtonOK");
                  EXPECT_TRUE(calculator_.isVisible());
                  EXPECT_EQ(display(), "Error");
                  QTest::keyClick(&calculator_, Qt::Key_Escape);
              }),
              std::nullopt);
}

}  // namespace
}  // namespace quendra::journal
