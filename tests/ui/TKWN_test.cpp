#include "accounts/TKWN.h"

#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"

#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/picker_chart.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace quendra::accounts {
namespace {

namespace kr = storage::journal;

class PickerWindow : public ::testing::Test {
protected:
    PickerWindow() {
        state_.dataDir = dir_.path();
        state_.settings.hauptdatei = "kr201501.dbf";
        state_.settings.konto = "kw201501.dbf";
        test::makeChart(state_.chartPath(), test::pickerChartRows());
    }

    // The journal with one row, open as the main window holds it.
    void journalRow(const std::string& cod, const std::string& codd, int eroeffnung = 0) {
        test::makeJournal(state_.journalPath(), {{1, test::ymd(2015, 3, 2), cod, codd, "x", 0, 0, 0, eroeffnung}});
        journal_.open(state_.journalPath(), storage::OpenMode::Shared);
        journal_.setOrder(kr::kNummer);
        journal_.first();
    }

    // Shows the picker modally and runs the steps while it is shown; the steps must close it.
    void pick(bool opening, const std::function<void()>& steps) {
        QTimer::singleShot(0, &picker_, [&] {
            steps();
            if (picker_.isVisible()) {
                ADD_FAILURE() << "the picker is still open";
                picker_.QDialog::done(0);
            }
        });
        picker_.showFor(journal_, opening);
    }

    template <class T>
    T* child(const char* name) {
        T* found = picker_.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* list(const char* name) { return child<QListWidget>(name); }
    static std::string current(QListWidget* list) {
        return list->currentItem() ? list->currentItem()->text().toStdString() : "<none>";
    }
    static std::string item(QListWidget* list, int row) { return list->item(row)->text().toStdString(); }
    static void clickRow(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Near the left edge, where a check box or radio button has its indicator.
    void click(const char* name) {
        QAbstractButton* button = child<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    std::string stored(std::string_view field) const { return journal_.asText(field); }

    test::TempDir dir_;
    state::MainState state_;
    test::ScriptedPrompt prompt_;
    test::FixedClock clock_{test::ymd(2015, 6, 1)};
    test::RecordingShell shell_;
    platform::Services services_{prompt_, clock_, shell_};
    storage::Cursor journal_;
    TKWN picker_{state_, services_};
};

TEST_F(PickerWindow, ListsAreLinkedAndOkWritesTheChoice) {
    journalRow("", "");
    pick(false, [&] {
        EXPECT_EQ(current(list("DBgride1a")), "A-Uscite");
        EXPECT_EQ(current(list("DBgride2a")), "01-Contributo sostentamento Clero");
        EXPECT_EQ(current(list("DBgride3a")), "01-Quota parrocchiale");
        EXPECT_EQ(current(list("DBgride4a")), "C02-Banca");
        EXPECT_EQ(current(list("DBGrid1")), "01-Banca c/c");

        clickRow(list("DBgride1a"), 1);
        EXPECT_EQ(current(list("DBgride1a")), "E-Entrate");
        EXPECT_EQ(list("DBgride2a")->count(), 2);
        EXPECT_EQ(item(list("DBgride2a"), 0), "01-Collette e offerte");
        EXPECT_EQ(current(list("DBgride3a")), "01-Collette domenicali");

        clickRow(list("DBgride3a"), 1);
        EXPECT_EQ(current(list("DBgride3a")), "02-Offerte per le candele");
        clickRow(list("DBgride4a"), 0);
        EXPECT_EQ(current(list("DBGrid1")), "01-Cassa parrocchiale");
        EXPECT_TRUE(child<QPushButton>("Button7")->isVisible()) << "the chart editor can be opened from the picker";
        click("Button1");
    });
    EXPECT_EQ(stored(kr::kCod), " E0102");
    EXPECT_EQ(stored(kr::kCodd), " C0101");
}

TEST_F(PickerWindow, AnnullaAndEscapeKeepTheRowsAccount) {
    journalRow(" A0102", " C0101");
    pick(false, [&] {
        clickRow(list("DBgride1a"), 1);
        clickRow(list("DBgride3a"), 1);
        click("Button6");
    });
    EXPECT_EQ(stored(kr::kCod), " A0102");
    pick(false, [&] {
        clickRow(list("DBgride1a"), 1);
        QTest::keyClick(&picker_, Qt::Key_Escape);
    });
    EXPECT_EQ(stored(kr::kCod), " A0102");
}

TEST_F(PickerWindow, TheCloseControlWritesTheChoice) {
    journalRow(" A0102", " C0101");
    pick(false, [&] {
        clickRow(list("DBgride1a"), 1);
        picker_.reject();
    });
    EXPECT_EQ(stored(kr::kCod), " E0101");
}

TEST_F(PickerWindow, KeyboardMovesInTheMainListDoNotMoveTheSubAccounts) {
    journalRow(" A0101", " C0101");
    pick(false, [&] {
        QListWidget* main = list("DBgride2a");
        main->setFocus();
        QTest::keyClick(main, Qt::Key_Down);
        EXPECT_EQ(current(main), "06-Spese generali");
        EXPECT_EQ(current(list("DBgride3a")), "01-Quota parrocchiale");
        // In the sub-account list a key counts as a choice, of the row it lands on.
        QListWidget* sub = list("DBgride3a");
        sub->setFocus();
        QTest::keyClick(sub, Qt::Key_Down);
        EXPECT_EQ(current(sub), "02-Remunerazione collaboratori");
        EXPECT_EQ(current(main), "01-Contributo sostentamento Clero");
        QTest::keyClick(sub, Qt::Key_Return);
    });
    EXPECT_EQ(stored(kr::kCod), " A0102");
}

TEST_F(PickerWindow, OpeningRowOfALiabilityHidesTheCashBoxesAndIsItsOwnCashBox) {
    journalRow(" A0101", " C0101");
    QSignalSpy marks(&picker_, &TKWN::openingMarkChanged);
    pick(false, [&] {
        EXPECT_TRUE(list("DBGrid1")->isVisible());
        click("Eroeffnung");
        EXPECT_EQ(journal_.asInteger(kr::kEroeffnung), 2);
        clickRow(list("DBgride1a"), 3);
        EXPECT_EQ(current(list("DBgride1a")), "P-Passiva");
        EXPECT_FALSE(list("DBgride4a")->isVisible());
        EXPECT_FALSE(list("DBGrid1")->isVisible());
        click("Button1");
    });
    ASSERT_EQ(marks.count(), 1);
    EXPECT_TRUE(marks.at(0).at(0).toBool());
    EXPECT_TRUE(picker_.openingChecked());
    EXPECT_EQ(stored(kr::kCod), " P0101");
    EXPECT_EQ(stored(kr::kCodd), " P0101");
}

TEST_F(PickerWindow, TheMainScreensOpeningBoxIsTakenOverButNotWritten) {
    journalRow(" C0701", " C0101", 1);  // marked by hand: the carry-forward never deletes it
    pick(true, [&] {
        EXPECT_TRUE(child<QCheckBox>("Eroeffnung")->isChecked());
        EXPECT_FALSE(list("DBGrid1")->isVisible());
        click("Button6");
    });
    EXPECT_EQ(journal_.asInteger(kr::kEroeffnung), 1);
    EXPECT_EQ(stored(kr::kCodd), " C0701");
    pick(true, [&] { click("Button1"); });
    EXPECT_EQ(journal_.asInteger(kr::kEroeffnung), 1);
}

TEST_F(PickerWindow, SearchPanelWalksTheHitsAndSaysWhenThereAreNoMore) {
    journalRow(" A0101", " C0101");
    pick(false, [&] {
        EXPECT_FALSE(child<QGroupBox>("SearchPanel")->isVisible());
        click("Button5");
        EXPECT_TRUE(child<QGroupBox>("SearchPanel")->isVisible());
        EXPECT_FALSE(child<QPushButton>("Button5")->isVisible());
        QLineEdit* text = child<QLineEdit>("SearchText");
        QTest::keyClicks(text, "cauzioni");
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(current(list("DBgride3a")), "07-Rimborso cauzioni");
        EXPECT_TRUE(picker_.isVisible());  // Enter in the field searches, it does not close
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(current(list("DBgride1a")), "C-Attiva");
        EXPECT_EQ(current(list("DBgride3a")), "01-Cauzioni per contratti");
        click("Button3");
        EXPECT_EQ(current(list("DBgride3a")), "01-Cauzioni trattenute");
        EXPECT_TRUE(prompt_.texts().empty());
        click("Button3");
        EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{"causale non trovato"}));
        click("Button3");
        EXPECT_EQ(current(list("DBgride3a")), "07-Rimborso cauzioni");
        click("Button2");
        EXPECT_FALSE(child<QGroupBox>("SearchPanel")->isVisible());
        EXPECT_TRUE(child<QPushButton>("Button5")->isVisible());
        click("Button1");
    });
    EXPECT_EQ(stored(kr::kCod), " A0607");
}

TEST_F(PickerWindow, SearchAnnullaRestoresTheAccount) {
    journalRow(" A0102", " C0101");
    pick(false, [&] {
        click("Button5");
        QTest::keyClicks(child<QLineEdit>("SearchText"), "candele");
        click("Button3");
        EXPECT_EQ(current(list("DBgride3a")), "02-Offerte per le candele");
        click("Button4");
        EXPECT_EQ(current(list("DBgride3a")), "02-Remunerazione collaboratori");
        click("Button1");
    });
    EXPECT_EQ(stored(kr::kCod), " A0102");
}

TEST_F(PickerWindow, AChartThatCannotBeOpenedIsSaidInItalianAndTheRowStays) {
    journalRow(" A0102", " C0101");
    state_.settings.konto = "kw209901.dbf";
    picker_.showFor(journal_, false);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].kind, platform::PromptKind::Error);
    EXPECT_NE(prompt_.shown[0].text.find("KW209901"), std::string::npos) << prompt_.shown[0].text;
    EXPECT_FALSE(picker_.isVisible());
    EXPECT_EQ(stored(kr::kCod), " A0102");
}

TEST_F(PickerWindow, SideButtonsAskTheMainScreenAndFollowIt) {
    journalRow(" A0101", " C0101");
    QSignalSpy sides(&picker_, &TKWN::sideChosen);
    picker_.setSide(1);
    EXPECT_TRUE(child<QRadioButton>("RadioUscite")->isChecked());
    EXPECT_EQ(sides.count(), 0);
    pick(false, [&] {
        click("RadioEntrate");
        click("Button1");
    });
    ASSERT_EQ(sides.count(), 1);
    EXPECT_EQ(sides.at(0).at(0).toInt(), 2);
    picker_.setSide(0);
    EXPECT_FALSE(child<QRadioButton>("RadioUscite")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("RadioEntrate")->isChecked());
}

}  // namespace
}  // namespace quendra::accounts
