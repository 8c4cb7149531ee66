#include "journal/TEinstellungen.h"

#include "state/main_state.h"
#include "platform/services.h"
#include "journal/settings_dialog_rules.h"

#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace quendra::journal {
namespace {

class SettingsWindow : public ::testing::Test {
protected:
    SettingsWindow() { dialog_.show(); }

    QLineEdit* edit(const char* name) {
        QLineEdit* found = dialog_.findChild<QLineEdit*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::string text(const char* name) { return edit(name)->text().toStdString(); }
    // Types a new text and leaves the field with Enter.
    void type(const char* name, const QString& value) {
        QLineEdit* field = edit(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, value);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void uscita() { QTest::mouseClick(dialog_.findChild<QPushButton*>("ButtonUscita"), Qt::LeftButton); }

    state::MainState state_;
    test::ScriptedPrompt prompt_;
    test::FixedClock clock_{test::ymd(2015, 6, 1)};
    test::RecordingShell shell_;
    platform::Services services_{prompt_, clock_, shell_};
    TEinstellungen dialog_{state_, services_};
};

TEST_F(SettingsWindow, ShowsTheHeldValues) {
    EXPECT_EQ(dialog_.windowTitle().toStdString(), "Einstellungen");
    EXPECT_EQ(text("TopMargin"), "2,5");
    EXPECT_EQ(text("BottomMargin"), "28");
    EXPECT_EQ(text("Scale"), "100");
    EXPECT_EQ(text("ScreenFont"), "15");
    EXPECT_EQ(text("PrinterFont"), "15");
    EXPECT_TRUE(dialog_.findChild<QCheckBox*>("Frames")->isChecked());
    EXPECT_EQ(dialog_.property("helpContext").toInt(), 4);
}

TEST_F(SettingsWindow, MarginsAreHeldAtOnceAndThePageIsCheckedOnLeaving) {
    type("TopMargin", "3");
    type("BottomMargin", "12,5");
    EXPECT_EQ(state_.settings.topMargin, -200);
    EXPECT_EQ(state_.settings.bottomMargin, -1150);
    uscita();
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kPageLayoutMessage)}));

    type("TopMargin", "2,5");
    type("BottomMargin", "29,5");
    uscita();
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(text("BottomMargin"), "29,5");

    type("BottomMargin", "29");
    uscita();
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(state_.settings.topMargin, -150);
    EXPECT_EQ(state_.settings.bottomMargin, -2800);
}

TEST_F(SettingsWindow, AMarginThatIsNoNumberIsRefusedInItalian) {
    type("TopMargin", "due");
    EXPECT_EQ(state_.settings.topMargin, -150);
    EXPECT_EQ(text("TopMargin"), "2,5");
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kMarginNotANumberMessage)}));
}

TEST_F(SettingsWindow, ScaleOutsideItsRangeIsRefused) {
    for (const char* typed : {"151", "49", "cento"}) {
        prompt_.shown.clear();
        type("Scale", typed);
        EXPECT_EQ(state_.settings.scale, "100") << typed;
        EXPECT_EQ(text("Scale"), "100") << typed;
        EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kScaleRangeMessage)})) << typed;
        EXPECT_TRUE(dialog_.isVisible());
    }
    type("Scale", "100");
    EXPECT_EQ(prompt_.texts().size(), 1u);
}

TEST_F(SettingsWindow, ANewScaleAsksForARestartAndCloses) {
    type("Scale", "150");
    EXPECT_EQ(state_.settings.scale, "150");
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kRestartMessage)}));
    EXPECT_FALSE(dialog_.isVisible());
}

TEST_F(SettingsWindow, CharacterCountsFramesAndEnter) {
    type("ScreenFont", "2.5");
    EXPECT_EQ(state_.settings.screenFont, "25");
    EXPECT_EQ(text("ScreenFont"), "25");
    // Enter in a character count moves to "uscita".
    EXPECT_EQ(dialog_.focusWidget(), dialog_.findChild<QPushButton*>("ButtonUscita"));
    type("PrinterFont", "x");
    EXPECT_EQ(state_.settings.printerFont, "15");
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{std::string(kCharacterCountMessage)}));

    QCheckBox* frames = dialog_.findChild<QCheckBox*>("Frames");
    QTest::mouseClick(frames, Qt::LeftButton, {}, QPoint(8, frames->height() / 2));
    uscita();
    EXPECT_EQ(state_.settings.frameLines, "0");
    EXPECT_FALSE(dialog_.isVisible());
}

}  // namespace
}  // namespace quendra::journal
