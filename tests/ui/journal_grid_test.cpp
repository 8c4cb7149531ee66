// The journal list follows the current movement: after a search, and for a new movement
// at the bottom of a long year.

#include "journal/TSuchen.h"
#include "support/main_window_fixture.h"

#include <QItemSelectionModel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

namespace quendra::journal {
namespace {

using test::Movement;
using test::ymd;

class JournalList : public test::MainWindowTest {
protected:
    explicit JournalList(const std::vector<Movement>& rows = test::threeRows()) : MainWindowTest(rows) {}

    // The list shows row as the one chosen, and the view was told so that it repaints it.
    void expectChosen(int row, const QSignalSpy& told, int toldBefore) {
        const QItemSelectionModel* selection = grid()->selectionModel();
        EXPECT_EQ(grid()->currentIndex().row(), row);
        EXPECT_TRUE(selection->isRowSelected(row, {}));
        EXPECT_EQ(selection->selectedRows().size(), 1);
        EXPECT_GT(told.count(), toldBefore) << "the view repaints only the rows it is told of";
    }
};

TEST_F(JournalList, FollowsTheSearchRowByRow) {
    TSuchen search(fixture.state, fixture.services);
    QObject::connect(&search, &TSuchen::journalMoved, [this] { form->journalMoved(); });
    windows.search = [&](storage::Cursor& journal) {
        QTimer::singleShot(0, &search, [&] {
            QSignalSpy told(grid()->selectionModel(), &QItemSelectionModel::selectionChanged);
            auto* text = search.findChild<QLineEdit*>("Edit1");
            auto* next = search.findChild<QPushButton*>("Button1");
            QTest::keyClicks(text, "offerte");
            next->click();
            expectChosen(1, told, 0);
            text->setText("t");
            const int before = int(told.count());
            next->click();  // "Weitersuchen" from row 2: "Battesimo"
            EXPECT_EQ(next->text().toStdString(), "Weitersuchen");
            expectChosen(2, told, before);
            search.reject();
        });
        search.showFor(journal);
    };
    start();
    grid()->selectRow(0);
    child<QPushButton>("ButtonSearch")->click();
    EXPECT_EQ(edit("DBEditnummer")->text().toStdString(), "3");
    EXPECT_EQ(grid()->currentIndex().row(), 2);
}

std::vector<Movement> longYear() {
    std::vector<Movement> rows;
    for (int n = 1; n <= 80; ++n) rows.push_back({n, ymd(2015, 1, 1 + n % 28), " E0101", " C0101", "Offerte", 10, 0, 2, 0});
    return rows;
}

class LongJournalList : public JournalList {
protected:
    LongJournalList() : JournalList(longYear()) {}
};

TEST_F(LongJournalList, ANewMovementIsWhollyInViewAtOnce) {
    start();
    fixture.prompt.answer(true);
    child<QPushButton>("ButtonNewRecord")->click();
    const int last = grid()->model()->rowCount() - 1;
    ASSERT_EQ(last, 80);
    EXPECT_EQ(grid()->currentIndex().row(), last);
    const QRect shown = grid()->visualRect(grid()->model()->index(last, 0));
    EXPECT_TRUE(grid()->viewport()->rect().contains(shown))
        << "row at " << shown.top() << ".." << shown.bottom() << ", list " << grid()->viewport()->height() << " high";
}

}  // namespace
}  // namespace quendra::journal
