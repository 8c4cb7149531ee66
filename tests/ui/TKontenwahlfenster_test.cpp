#include "accounts/TKontenwahlfenster.h"

#include "accounts/chart_import.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "years/parish_data.h"
#include "support/chart_fixture.h"
#include "support/demo_year_state.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quendra::accounts {
namespace {

namespace fs = std::filesystem;

template <typename T>
T* child(const QWidget& window, const char* name) {
    auto* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The demo year 2015-01 and, beside it, 2014-01 of another parish.
class ChartImportWindow : public ::testing::Test {
protected:
    ChartImportWindow() {
        const fs::path data = demo_.state.dataDir;
        storage::makeDemoDataDirectory(data, data, {2014, 10, 2});
        years::writeParishData(data / "kw201401.dbf", {"Santa Maria", "Valle", "Centro"});
        parish_ = years::readParishData(demo_.state.chartPath());
        addAccount(" A0199", "Conto della parrocchia");
    }

    void addAccount(const std::string& cod, const std::string& text) const {
        storage::Cursor chart(demo_.state.chartPath(), storage::OpenMode::Shared);
        chart.setOrder(storage::chart::kCod);
        chart.append();
        chart.setText(storage::chart::kCod, cod);
        chart.setText(storage::chart::kText, text);
        chart.post();
    }

    QListWidget* list(const QWidget& window) const { return child<QListWidget>(window, "ListBox1"); }
    bool hasUserAccount() const { return test::readChartByCode(demo_.state.chartPath()).count(" A0199") == 1; }

    test::DemoYearState demo_;
    years::ParishData parish_;
};

TEST_F(ChartImportWindow, ListsTheOtherYearAndThenTheStandardChartWithTheFirstLineSelected) {
    TKontenwahlfenster window(demo_.state, demo_.services);
    EXPECT_FALSE(window.windowTitle().isEmpty());
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(),
              "IMPORTO PIANO CONTI\n\nSi può importare il piano conti standard oppure il piano conti di un "
              "esercizio precedente.");
    EXPECT_EQ(child<QPushButton>(window, "Button1")->text(), "OK");
    EXPECT_EQ(child<QPushButton>(window, "Button2")->text(), "annulla");

    window.FormActivate();
    QListWidget* lines = list(window);
    ASSERT_EQ(lines->count(), 2);
    EXPECT_TRUE(lines->item(0)->text().startsWith("2014-01 | SANTA MARIA (Valle) Centro ("));
    EXPECT_TRUE(lines->item(0)->text().endsWith(" Einträge)"));
    EXPECT_EQ(lines->item(1)->text(), "0000-00 | Piano conti standard");
    EXPECT_EQ(lines->currentRow(), 0);
    EXPECT_TRUE(demo_.prompt.shown.empty());
}

TEST_F(ChartImportWindow, OkImportsTheStandardChartKeepingTheParishAndTellsTheCaller) {
    TKontenwahlfenster window(demo_.state, demo_.services);
    QTimer::singleShot(0, [&] {
        list(window)->setCurrentRow(1);
        child<QPushButton>(window, "Button1")->click();
    });
    EXPECT_TRUE(window.showImport());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(hasUserAccount());
    EXPECT_EQ(years::readParishData(demo_.state.chartPath()), parish_);
    EXPECT_TRUE(demo_.prompt.shown.empty());
}

TEST_F(ChartImportWindow, AnnullaChangesNothing) {
    TKontenwahlfenster window(demo_.state, demo_.services);
    QTimer::singleShot(0, [&] { child<QPushButton>(window, "Button2")->click(); });
    EXPECT_FALSE(window.showImport());
    EXPECT_TRUE(hasUserAccount());
}

TEST_F(ChartImportWindow, AFailedImportIsToldTheWindowStaysAndTheCallerStillHearsOfIt) {
    storage::Cursor holder(demo_.state.chartPath(), storage::OpenMode::Shared);
    TKontenwahlfenster window(demo_.state, demo_.services);
    bool stayed = false;
    QTimer::singleShot(0, [&] {
        child<QPushButton>(window, "Button1")->click();
        stayed = window.isVisible();
        child<QPushButton>(window, "Button2")->click();
    });
    EXPECT_TRUE(window.showImport());
    EXPECT_TRUE(stayed);
    ASSERT_EQ(demo_.prompt.shown.size(), 1u);
    EXPECT_EQ(demo_.prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_NE(demo_.prompt.shown[0].text.find("già aperta"), std::string::npos) << demo_.prompt.shown[0].text;
    holder.close();
    EXPECT_TRUE(hasUserAccount());
}

}  // namespace
}  // namespace quendra::accounts
