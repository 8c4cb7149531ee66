// Entry in the main window as a user meets it: the account picker on an opening row,
// leaving the amount in adding mode, and an amount too large for its field.

#include "accounts/TKWN.h"
#include "support/main_window_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

namespace quendra::journal {
namespace {

using test::Movement;
using test::ymd;

class EntryWindow : public test::MainWindowTest {
protected:
    // Waits, handling events, until the question for the next movement came count times.
    bool askedForNewRecord(std::size_t count) {
        return QTest::qWaitFor([&] {
            std::size_t asked = 0;
            for (const std::string& text : fixture.prompt.texts()) asked += text == "vuol aggiungere un nuovo record?";
            return asked >= count;
        });
    }
    // From the date of the new row to its amount, keeping the proposed values.
    void toTheAmount() {
        type("Editdatum", "");
        QTest::keyClick(edit("DBEdittext"), Qt::Key_Return);
        type("Editkonto", "");
        type("Editkasse", "");
        ASSERT_EQ(focusName(), "Editbetrag");
    }
};

class OpeningRowWindow : public test::MainWindowTest {
protected:
    // Row 1 is an opening row marked 1 by hand, which the carry-forward never deletes.
    OpeningRowWindow()
        : MainWindowTest({{1, ymd(2015, 1, 1), " C0201", " C0201", "Apertura banca", 5000, 0, 2, 1},
                          {2, ymd(2015, 1, 5), " E0101", " C0101", "Offerte", 80, 0, 2, 0}}) {}

    // The real picker, left with "annulla" as soon as it shows.
    void pickerCancelledAtOnce() {
        windows.accountPicker = [this](storage::Cursor& journal, bool opening) {
            ++picks;
            openingShown = std::nullopt;
            QTimer::singleShot(0, &picker, [this] {
                openingShown = picker.openingChecked();
                picker.findChild<QPushButton*>("Button6")->click();
            });
            picker.showFor(journal, opening);
        };
    }

    accounts::TKWN picker{fixture.state, fixture.services};
    int picks = 0;
    std::optional<bool> openingShown;
};

TEST_F(OpeningRowWindow, OpeningThePickerAndCancellingLeavesTheOpeningMarkAsItWas) {
    pickerCancelledAtOnce();
    start();
    EXPECT_TRUE(child<QCheckBox>("CheckPrimaApertura")->isChecked()) << "a row marked 1 shows as an opening row";

    child<QPushButton>("ButtonCassa")->click();
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(openingShown, true) << "the picker's box takes the main screen's state";
    EXPECT_EQ(row(1).eroeffnung, 1);

    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    edit("DBEditcod")->setFocus();
    type("Editkonto", "C0299");  // not in the chart: the picker opens
    EXPECT_EQ(picks, 2);
    EXPECT_EQ(row(1).eroeffnung, 1);
    EXPECT_TRUE(child<QCheckBox>("CheckPrimaApertura")->isChecked());

    // Only a click on a box writes the mark.
    child<QCheckBox>("CheckPrimaApertura")->click();
    EXPECT_EQ(picks, 3);
    EXPECT_EQ(openingShown, false);
    EXPECT_EQ(row(1).eroeffnung, 0);
    child<QCheckBox>("CheckPrimaApertura")->click();
    EXPECT_EQ(row(1).eroeffnung, 2);
    EXPECT_EQ(row(2).eroeffnung, 0);
}

TEST_F(EntryWindow, AddingModeGoesOnWhenTheAmountIsLeftWithTabOrAClick) {
    start();
    fixture.prompt.answers({true, true, true});
    child<QPushButton>("ButtonNewRecord")->click();
    toTheAmount();
    QTest::keyClicks(QApplication::focusWidget(), "12,50");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(askedForNewRecord(2));
    EXPECT_EQ(row(4).einnahme + row(4).ausgabe, 12.5);
    EXPECT_EQ(fixture.rows().size(), 5u);
    EXPECT_EQ(title().toStdString(), prefix() + " - record: 5");
    EXPECT_EQ(focusName(), "Editdatum");

    // A click on a row of the list leaves the amount too; the new movement takes the
    // codes of the row clicked.
    toTheAmount();
    QTest::keyClicks(QApplication::focusWidget(), "7");
    const QRect first = grid()->visualRect(grid()->model()->index(0, 4));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, first.center());
    ASSERT_TRUE(askedForNewRecord(3));
    EXPECT_EQ(row(5).einnahme + row(5).ausgabe, 7);
    ASSERT_EQ(fixture.rows().size(), 6u);
    EXPECT_EQ(row(6).cod, " A0101") << "the codes of row 1";
    EXPECT_EQ(fixture.prompt.texts().size(), 3u) << "asked once for each movement";
}

TEST_F(EntryWindow, AnAmountThatCannotBeReadStaysForTheUserAndAsksForNothing) {
    start();
    fixture.prompt.answers({true});
    child<QPushButton>("ButtonNewRecord")->click();
    toTheAmount();
    QTest::keyClicks(QApplication::focusWidget(), "abc");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(fixture.prompt.texts().size(), 2u) << "the question and the refusal, no second question";
    EXPECT_EQ(focusName(), "Editbetrag");
    EXPECT_EQ(fixture.rows().size(), 4u);
}

TEST_F(EntryWindow, TooLargeAnAmountIsToldInTheUsersWordsAndTheTextStays) {
    start();
    edit("DBEditbetrag")->setFocus();
    ASSERT_EQ(focusName(), "Editbetrag");
    QTest::keyClicks(QApplication::focusWidget(), "9999999999");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(fixture.prompt.shown.size(), 1u);
    EXPECT_EQ(fixture.prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_EQ(fixture.prompt.shown[0].text,
              "\"9999999999\" è troppo grande per il campo uscita: l'importo più grande è 999.999.999,99.");
    EXPECT_EQ(focusName(), "Editbetrag");
    EXPECT_EQ(edit("Editbetrag")->text().toStdString(), "9999999999");
    EXPECT_EQ(row(1).ausgabe, 120);
}

}  // namespace
}  // namespace quendra::journal
