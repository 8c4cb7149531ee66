#include "accounts/chart_import.h"

#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/demo_data.h"
#include "storage/dbase/table_ops.h"
#include "years/parish_data.h"
#include "support/chart_fixture.h"
#include "support/dbfread_reader.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quendra::accounts {
namespace {

namespace fs = std::filesystem;
using test::ChartRow;

const years::ParishData kParish2015{"Parrocchia San Michele Arcangelo", "Borgo Velmora", "Decanato di Varnelia"};
const years::ParishData kParish2014{"Santa Maria", "Valle", "Centro"};

std::vector<std::string> lines(const ChartChoices& list) {
    std::vector<std::string> out;
    for (const ChartChoice& c : list.choices) out.push_back(c.line);
    return out;
}

std::map<std::string, ChartRow> withoutHeader(std::map<std::string, ChartRow> rows) {
    rows.erase("  PFAR");
    return rows;
}

// A data directory made as the program makes it: the templates, the year 2014-01 (with
// its own parish and three movements) and the demo year 2015-01.
class ChartImport : public ::testing::Test {
protected:
    ChartImport() {
        const fs::path templates = fs::path(QUENDRA_RUNTIME_DIR) / "krw";
        storage::makeDemoDataDirectory(dir_.path(), templates, {2014, 3, 7});
        storage::makeDemoDataDirectory(dir_.path(), templates, {2015, 40, 1});
        years::writeParishData(chart(2014), kParish2014);
    }

    fs::path chart(int year) const { return dir_ / ("kw" + std::to_string(year) + "01.dbf"); }
    fs::path standardChart() const { return dir_ / "kw000000.dbf"; }

    static std::size_t rowsOf(const fs::path& table) {
        return storage::Cursor(table, storage::OpenMode::Shared).recordCount();
    }

    static void addAccount(const fs::path& chartPath, const std::string& cod, const std::string& text) {
        storage::Cursor cursor(chartPath, storage::OpenMode::Shared);
        cursor.setOrder(storage::chart::kCod);
        cursor.append();
        cursor.setText(storage::chart::kCod, cod);
        cursor.setText(storage::chart::kText, text);
        cursor.post();
    }

    test::TempDir dir_;
};

TEST_F(ChartImport, ListsTheOtherYearsNewestFirstAndTheStandardChartLast) {
    const std::size_t rows2014 = rowsOf(dir_ / "kr201401.dbf");
    const std::size_t rows2015 = rowsOf(dir_ / "kr201501.dbf");

    const ChartChoices from2015 = listCharts(dir_.path(), "KR201501.DBF");
    EXPECT_EQ(lines(from2015), (std::vector<std::string>{
                                   "2014-01 | SANTA MARIA (Valle) Centro (" + std::to_string(rows2014) + " Einträge)",
                                   "0000-00 | Piano conti standard"}));
    EXPECT_EQ(from2015.choices.front().yearNumber, "201401");
    EXPECT_EQ(from2015.choices.back().yearNumber, kStandardChartNumber);
    EXPECT_TRUE(from2015.unreadable.empty());

    // A journal without its chart is no year; a third year goes to the top.
    test::makeJournal(dir_ / "kr201301.dbf", {});
    fs::copy_file(dir_ / "kr201501.dbf", dir_ / "KR201601.DBF");
    fs::copy_file(chart(2015), dir_ / "KW201601.DBF");
    const ChartChoices from2014 = listCharts(dir_.path(), "kr201401.dbf");
    EXPECT_EQ(lines(from2014),
              (std::vector<std::string>{
                  "2016-01 | PARROCCHIA SAN MICHELE ARCANGELO (Borgo Velmora) Decanato di Varnelia (" +
                      std::to_string(rows2015) + " Einträge)",
                  "2015-01 | PARROCCHIA SAN MICHELE ARCANGELO (Borgo Velmora) Decanato di Varnelia (" +
                      std::to_string(rows2015) + " Einträge)",
                  "0000-00 | Piano conti standard"}));
    // The copy came without its index; listing rebuilt it.
    EXPECT_TRUE(fs::exists(dir_ / "KW201601.MDX"));
}

TEST_F(ChartImport, TheStandardChartReplacesEveryAccountAndKeepsTheParish) {
    addAccount(chart(2015), " A0199", "Conto della parrocchia");
    const std::size_t journalRows = rowsOf(dir_ / "kr201501.dbf");

    importChart(dir_.path(), "kr201501.dbf", kStandardChartNumber);

    const auto imported = test::readChartByCode(chart(2015));
    EXPECT_EQ(withoutHeader(imported), withoutHeader(test::readChartByCode(standardChart())));
    EXPECT_EQ(imported.count(" A0199"), 0u);
    EXPECT_EQ(years::readParishData(chart(2015)), kParish2015);
    EXPECT_EQ(rowsOf(dir_ / "kr201501.dbf"), journalRows);
    EXPECT_FALSE(fs::exists(dir_ / "kwimport.dbf"));

    // With its two tags, and readable by another dBase reader.
    storage::Cursor exclusive(chart(2015), storage::OpenMode::Exclusive);
    EXPECT_EQ(exclusive.tagNames(), (std::vector<std::string>{"COD", "K"}));
    exclusive.close();
    if (test::dbfreadAvailable()) {
        EXPECT_EQ(test::readWithDbfread(chart(2015)).records.size(), imported.size());
    }
}

TEST_F(ChartImport, AnotherYearsChartComesWithItsAccountsButNotItsParish) {
    addAccount(chart(2014), " A0198", "Conto del 2014");

    importChart(dir_.path(), "kr201501.dbf", "201401");

    const auto imported = test::readChartByCode(chart(2015));
    EXPECT_EQ(imported.at(" A0198").text, "Conto del 2014");
    EXPECT_EQ(years::readParishData(chart(2015)), kParish2015);
    EXPECT_EQ(years::readParishData(chart(2014)), kParish2014);
    EXPECT_EQ(imported.size(), test::readChartByCode(chart(2014)).size());
}

TEST_F(ChartImport, AParishTheSourceCannotHoldLeavesTheCurrentChartAsItWas) {
    // A chart of an older structure, whose texts are narrower than the parish name.
    storage::FieldList narrow = storage::chart::fields();
    narrow[1].length = 20;
    const fs::path old = dir_ / "kw201301.dbf";
    storage::createTable(old, narrow);
    test::makeJournal(dir_ / "kr201301.dbf", {});
    const auto before = test::readChartByCode(chart(2015));

    EXPECT_THROW(importChart(dir_.path(), "kr201501.dbf", "201301"), storage::DbError);
    EXPECT_EQ(test::readChartByCode(chart(2015)), before);
    EXPECT_FALSE(fs::exists(dir_ / "kwimport.dbf"));
}

TEST_F(ChartImport, AChartInUseIsNotReplaced) {
    const auto before = test::readChartByCode(chart(2015));
    storage::Cursor holder(chart(2015), storage::OpenMode::Shared);
    try {
        importChart(dir_.path(), "kr201501.dbf", kStandardChartNumber);
        FAIL() << "imported into a chart in use";
    } catch (const storage::DbError& error) {
        EXPECT_EQ(error.kind(), storage::DbError::Kind::Locked);
    }
    holder.close();
    EXPECT_EQ(test::readChartByCode(chart(2015)), before);
    EXPECT_FALSE(fs::exists(dir_ / "kwimport.dbf"));
}

}  // namespace
}  // namespace quendra::accounts
