#include "export/TExcelExport.h"

#include "export/year_workbook.h"
#include "state/main_state.h"
#include "platform/services.h"

#include "support/demo_year_state.h"
#include "support/file_contents.h"
#include "support/openpyxl_reader.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quendra::spreadsheet {
namespace {

namespace fs = std::filesystem;

class ExcelExportWindow : public ::testing::Test {
protected:
    ExcelExportWindow() { window_.setDocumentsFolder(QString::fromStdString(documents_.string())); }

    template <class Widget>
    Widget* child(const char* name) {
        auto* found = window_.findChild<Widget*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Shows the window as the print window does and lets it run until it has spoken.
    void showAndWait() {
        window_.show();
        for (int i = 0; i < 1000 && year_.prompt.shown.empty(); ++i) QCoreApplication::processEvents();
        ASSERT_EQ(year_.prompt.shown.size(), 1u);
    }

    void grab(const char* name) {
        if (const char* dir = std::getenv("QUENDRA_GRAB_DIR")) window_.grab().save(QDir(dir).filePath(name));
    }

    test::DemoYearState year_;
    fs::path documents_ = year_.home / "utente" / "Documenti";
    TExcelExport window_{year_.state, year_.services};
};

TEST_F(ExcelExportWindow, ShowingExportsTheYearIntoTheDocumentsFolderAndOffersZurueck) {
    EXPECT_EQ(window_.windowTitle(), "Export nach Excel");
    EXPECT_FALSE(window_.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window_.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(child<QLabel>("Label1")->text(), "Zur Beachtung");
    EXPECT_EQ(child<QLabel>("Label2")->text(), " Bitte haben Sie nun etwas Geduld bis der Transportvorgang abgeschlossen");
    EXPECT_EQ(child<QLabel>("Label3")->text(), " ist   ...");
    QPushButton* back = child<QPushButton>("Button1");
    EXPECT_EQ(back->text(), "Zurück");
    EXPECT_TRUE(back->isHidden());

    showAndWait();
    EXPECT_EQ(year_.prompt.shown[0].kind, platform::PromptKind::Information);
    EXPECT_EQ(year_.prompt.shown[0].text, "Die Excel-Exportdatei ist unter \"Dokumente\" zu finden.");
    EXPECT_FALSE(back->isHidden());
    EXPECT_EQ(test::namesIn(documents_), std::vector<std::string>{"tovald.mappe.xlsx"});
    EXPECT_EQ(window_.workbookPath().toStdString(), (documents_ / "tovald.mappe.xlsx").string());

    // The bar has run to twice the rows through cash boxes.
    struct Maximum : ExportProgress {
        void started(std::size_t m) override { maximum = m; }
        void advanced(std::size_t) override {}
        std::size_t maximum = 0;
    } expected;
    buildWorkbook(year_.state.journalPath(), year_.state.chartPath(), "202601", &expected);
    QProgressBar* bar = child<QProgressBar>("ProgressBar1");
    EXPECT_GT(expected.maximum, 0u);
    EXPECT_EQ(bar->maximum(), int(expected.maximum));
    EXPECT_EQ(bar->value(), bar->maximum());
    grab("TExcelExport.png");

    if (test::openpyxlAvailable()) {
        const auto sheets = test::readWithOpenpyxl(documents_ / "tovald.mappe.xlsx");
        ASSERT_EQ(sheets.size(), 5u);
        EXPECT_EQ(sheets[0].at("B1"), test::xlsxText("Parrocchia San Michele Arcangelo"));
    }

    back->click();
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(window_.result(), QDialog::Accepted);
}

TEST_F(ExcelExportWindow, FailedExportSaysWhyKeepsTheOlderWorkbookAndOnlyThenLetsTheWindowClose) {
    // The window is shown again after the journal has gone: the export cannot read the
    // year, and the workbook of the first showing stays.
    showAndWait();
    window_.accept();
    const std::string before = test::readFile(documents_ / "tovald.mappe.xlsx");
    fs::remove(year_.state.journalPath());
    year_.prompt.shown.clear();

    window_.show();
    QPushButton* back = child<QPushButton>("Button1");
    EXPECT_TRUE(back->isHidden());
    window_.reject();
    EXPECT_TRUE(window_.isVisible());
    for (int i = 0; i < 1000 && year_.prompt.shown.empty(); ++i) QCoreApplication::processEvents();
    ASSERT_EQ(year_.prompt.shown.size(), 1u);
    EXPECT_EQ(year_.prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_NE(year_.prompt.shown[0].text.find("KR201501.DBF"), std::string::npos) << year_.prompt.shown[0].text;
    EXPECT_EQ(test::readFile(documents_ / "tovald.mappe.xlsx"), before);
    EXPECT_FALSE(back->isHidden());
    window_.reject();
    EXPECT_FALSE(window_.isVisible());
}

TEST_F(ExcelExportWindow, AFileInPlaceOfTheDocumentsFolderIsNamedInItalian) {
    test::writeFile(documents_, "x");
    showAndWait();
    EXPECT_EQ(year_.prompt.shown[0].text, "Impossibile salvare la cartella di lavoro \"" +
                                              (documents_ / "tovald.mappe.xlsx").string() +
                                              "\": nel percorso c'è un file al posto di una cartella.");
    EXPECT_EQ(test::readFile(documents_), "x");
}

}  // namespace
}  // namespace quendra::spreadsheet
