#include "printing/TJournalwahl.h"

#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quendra::printing {
namespace {

using test::ymd;

TEST(JournalRangeDialog, NumbersByDefaultDatesOnChoiceAndTheOutputButton) {
    test::TempDir dir;
    std::vector<test::Movement> rows;
    for (int n = 1; n <= 240; ++n) {
        rows.push_back({n, ymd(2026, 1 + (240 - n) / 30, 1), " A0101", " C0101", "riga", 0, 1, 1});
    }
    test::makeJournal(dir / "kr202601.dbf", rows);
    TJournalwahl dialog(100);
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "stampa giornale");
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("radioNumeri")->isChecked());
        EXPECT_EQ(dialog.findChild<QLabel*>("Label1")->text(), "da numero");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit1")->text(), "1");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit2")->text(), "240");
        dialog.findChild<QRadioButton*>("radioData")->setChecked(true);
        EXPECT_EQ(dialog.findChild<QLabel*>("Label2")->text(), "data di fine");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit1")->text(), "01.01.2026");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit2")->text(), "01.08.2026");
        dialog.Button2Click();
    });
    const auto range = dialog.choose(dir / "kr202601.dbf");
    EXPECT_TRUE(range.byDate);
    EXPECT_EQ(range.first, "01.01.2026");
    EXPECT_EQ(range.output, OutputTarget::Printer);
}

}  // namespace
}  // namespace quendra::printing
