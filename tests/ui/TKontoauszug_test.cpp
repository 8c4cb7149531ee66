#include "bankimport/TKontoauszug.h"

#include "bankimport/csv_columns.h"
#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "support/year_fixture.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace quendra::bankimport {
namespace {

using test::ymd;

QString statementFile(const char* name) {
    return QString(QUENDRA_SOURCE_DIR) + "/tests/bankimport/statements/" + name;
}

TEST(StatementImportWindow, ProposesLetsThePickerChangeAnAccountAndPosts) {
    test::YearFixture year({{1, ymd(2015, 1, 10), " E0201", " C0201", "Offerta battesimo di Anna", 100, 0, 2, 0}});
    int pickerShown = 0;
    TKontoauszug window(year.state, year.services, [&](storage::Cursor& row, bool) {
        ++pickerShown;
        EXPECT_EQ(row.asText(storage::journal::kCodd), " C0201");
        row.edit();
        row.setText(storage::journal::kCod, " A0503");
        row.post();
    });
    QTimer::singleShot(0, &window, [&] {
        auto* grid = window.findChild<QTableWidget*>("GridProposte");
        window.openFile(statementFile("camt053_v02.xml"));
        ASSERT_EQ(grid->rowCount(), 3);
        EXPECT_EQ(grid->item(0, 4)->text(), "E0201");
        EXPECT_EQ(grid->item(0, 0)->checkState(), Qt::Checked);
        EXPECT_EQ(grid->item(2, 4)->text(), "");
        EXPECT_EQ(grid->item(2, 0)->checkState(), Qt::Unchecked);
        emit grid->cellDoubleClicked(2, 4);
        EXPECT_EQ(grid->item(2, 4)->text(), "A0503");
        EXPECT_EQ(grid->item(2, 0)->checkState(), Qt::Checked);
        if (const char* shot = std::getenv("QUENDRA_SHOT")) window.grab().save(shot);
        window.findChild<QPushButton*>("ButtonImporta")->click();
        EXPECT_EQ(grid->item(0, 5)->text(), "importato");
        EXPECT_EQ(grid->item(2, 5)->text(), "importato");
        window.reject();
    });
    EXPECT_TRUE(window.showImport());
    EXPECT_EQ(pickerShown, 1);
    const std::vector<test::Movement> rows = year.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].cod, " A0503");
    EXPECT_EQ(rows[2].ausgabe, 2.5);
    EXPECT_EQ(year.prompt.texts().back(), "Importati 2 movimenti, numeri da 2 a 3.");
}

TEST(StatementImportWindow, UnknownCsvColumnsAreChosenOnceAndRemembered) {
    test::YearFixture year;
    TKontoauszug window(year.state, year.services, {});
    QTimer::singleShot(0, &window, [&] {
        window.openFile(statementFile("csv_unknown_headings.csv"));
        auto* grid = window.findChild<QTableWidget*>("GridProposte");
        EXPECT_EQ(grid->rowCount(), 0);
        EXPECT_TRUE(window.findChild<QPlainTextEdit*>("MemoErrori")->toPlainText().contains("colonne"));
        window.findChild<QComboBox*>("ComboColonna_data")->setCurrentIndex(1);
        window.findChild<QComboBox*>("ComboColonna_causale")->setCurrentIndex(2);
        window.findChild<QComboBox*>("ComboColonna_importo (con segno)")->setCurrentIndex(3);
        window.findChild<QSpinBox*>("SpinIntestazione")->setValue(1);
        window.findChild<QPushButton*>("ButtonColonne")->click();
        ASSERT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(grid->item(0, 3)->text(), "10,00");
        window.reject();
    });
    EXPECT_FALSE(window.showImport());
    const storage::Settings settings = storage::readSettings(year.dataDir / "tovald.INI");
    ASSERT_TRUE(rememberedColumns(settings, " C0201").has_value());
    EXPECT_EQ(rememberedColumns(settings, " C0201")->amount, 2);
}

}  // namespace
}  // namespace quendra::bankimport
