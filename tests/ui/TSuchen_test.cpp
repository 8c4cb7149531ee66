#include "journal/TSuchen.h"

#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"

#include "support/fixed_clock.h"
#include "support/journal_fixture.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace quendra::journal {
namespace {

using test::ymd;

class SearchWindow : public ::testing::Test {
protected:
    SearchWindow() {
        test::makeJournal(dir_ / "kr201501.dbf", {
                                                     {1, ymd(2015, 1, 1), " E0101", " C0101", "Offerta domenicale"},
                                                     {2, ymd(2015, 1, 5), " A0701", " C0201", "Bolletta luce"},
                                                     {3, ymd(2015, 2, 10), " A0202", " C0101", "offerta per i fiori"},
                                                 });
        journal_.open(dir_ / "kr201501.dbf", storage::OpenMode::Shared);
        journal_.setOrder(storage::journal::kNummer);
        journal_.first();
        journal_.next();
    }

    void search(const std::function<void()>& steps) {
        QTimer::singleShot(0, &window_, [&] {
            steps();
            if (window_.isVisible()) {
                ADD_FAILURE() << "the search is still open";
                window_.done(0);
            }
        });
        window_.showFor(journal_);
    }
    template <class T>
    T* child(const char* name) {
        T* found = window_.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    long long number() const { return journal_.asInteger(storage::journal::kNummer); }

    test::TempDir dir_;
    state::MainState state_;
    test::ScriptedPrompt prompt_;
    test::FixedClock clock_{ymd(2015, 6, 1)};
    test::RecordingShell shell_;
    platform::Services services_{prompt_, clock_, shell_};
    storage::Cursor journal_;
    TSuchen window_{state_, services_};
};

TEST_F(SearchWindow, OggettoThenWeitersuchenThenOnFromTheStart) {
    QSignalSpy moved(&window_, &TSuchen::journalMoved);
    search([&] {
        EXPECT_EQ(child<QPushButton>("Button1")->text().toStdString(), "Suchen");
        EXPECT_TRUE(child<QRadioButton>("RadioOggetto")->isChecked());
        QLineEdit* text = child<QLineEdit>("Edit1");
        QTest::keyClicks(text, "OFFERTA");
        QTest::keyClick(text, Qt::Key_Return);
        EXPECT_EQ(number(), 3);
        EXPECT_EQ(child<QPushButton>("Button1")->text().toStdString(), "Weitersuchen");
        EXPECT_TRUE(window_.isVisible());
        // Nothing more below: the user chooses to go on from the start and finds row 1.
        prompt_.answer(true);
        QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
        EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{"Raggiunta la fine dell'elenco senza trovare \"OFFERTA\". "
                                                             "Continuare la ricerca dall'inizio?"}));
        EXPECT_EQ(number(), 1);
        QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    });
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(number(), 1);
}

TEST_F(SearchWindow, ChoosingAKindStartsAtTheFirstRowAndAnUnreadableNumberIsSaidInItalian) {
    search([&] {
        QRadioButton* numero = child<QRadioButton>("RadioNumero");
        QTest::mouseClick(numero, Qt::LeftButton, {}, QPoint(8, numero->height() / 2));
        EXPECT_EQ(number(), 1);
        EXPECT_TRUE(child<QLineEdit>("Edit1")->text().isEmpty());
        QTest::keyClicks(child<QLineEdit>("Edit1"), "due");
        QTest::keyClick(child<QLineEdit>("Edit1"), Qt::Key_Return);
        EXPECT_EQ(number(), 1);
        ASSERT_EQ(prompt_.texts().size(), 1u);
        EXPECT_NE(prompt_.texts()[0].find("non è un numero"), std::string::npos);
        window_.reject();
    });
}

}  // namespace
}  // namespace quendra::journal
