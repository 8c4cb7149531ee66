// The print window's thin button opens the workbook export.

#include "export/TExcelExport.h"
#include "printing/TFDrucken.h"
#include "printing/TFilterauswahl.h"

#include "support/demo_year_state.h"
#include "support/file_contents.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quendra::printing {
namespace {

namespace fs = std::filesystem;

TEST(PrintWindowWorkbook, ThinButtonBetweenScreenAndPrinterOpensTheExportModally) {
    test::DemoYearState year;
    TFilterauswahl filterauswahl(year.services, 100);
    TFDrucken drucken(year.state, year.services, filterauswahl);
    auto* button2 = drucken.findChild<QPushButton*>("Button2");
    ASSERT_NE(button2, nullptr);
    EXPECT_FALSE(button2->isEnabled());

    spreadsheet::TExcelExport excelExport(year.state, year.services, &drucken);
    const fs::path documents = year.home / "Documenti";
    excelExport.setDocumentsFolder(QString::fromStdString(documents.string()));
    int opened = 0;
    drucken.setWorkbookExport([&] {
        ++opened;
        excelExport.exec();
    });
    EXPECT_TRUE(button2->isEnabled());

    drucken.show();
    QCoreApplication::processEvents();
    const QWidget* screen = drucken.findChild<QRadioButton*>("radiobildschirm");
    const QWidget* printer = drucken.findChild<QRadioButton*>("radiodrucker");
    EXPECT_EQ(button2->height(), 4);
    EXPECT_GT(button2->y(), screen->y());
    EXPECT_LT(button2->y(), printer->y());
    EXPECT_GE(button2->width(), screen->width());
    if (const char* dir = std::getenv("QUENDRA_GRAB_DIR")) drucken.grab().save(QDir(dir).filePath("TFDrucken.png"));

    // "Zurück" appears once the workbook is written; pressing it ends the modal showing.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* back = excelExport.findChild<QPushButton*>("Button1");
        if (back != nullptr && !back->isHidden()) back->click();
    });
    closer.start(10);
    button2->click();
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(excelExport.isVisible());
    EXPECT_EQ(year.prompt.texts(), std::vector<std::string>{"Die Excel-Exportdatei ist unter \"Dokumente\" zu finden."});
    EXPECT_EQ(test::namesIn(documents), std::vector<std::string>{"tovald.mappe.xlsx"});
}

}  // namespace
}  // namespace quendra::printing
