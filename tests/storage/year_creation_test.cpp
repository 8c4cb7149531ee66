#include "storage/year_creation.h"

#include "storage/dbase/cursor.h"
#include "storage/index_repair.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/text_case.h"
#include "storage/year_files.h"

#include "support/chart_fixture.h"
#include "support/dbfread_reader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quendra::storage {
namespace {

using test::ChartRow;
using test::TempDir;

const std::vector<ChartRow> kStandardChart = {
    {"  PFAR", "", "", "", "", "", "", "", ""},
    {"TA", "Uscite", "Uscite", "Uscite", "", "10", "", "", "A"},
    {"HA0100", "Contributo sostentamento Clero", "Contributo sostentamento Clero", "Uscite", "AA0100", "", "", "1", "A"},
    {" A0101", "Quota parrocchiale", "Contributo sostentamento Clero", "Uscite", "AA0101", "", "x", "1", "A"},
    {" C0101", "Cassa", "Cassa", "Attiva", "CC0101", "", "", "1", "C"},
};

std::vector<std::string> tagsOf(const std::filesystem::path& table) {
    Cursor cursor(table, OpenMode::Shared);
    std::vector<std::string> names;
    for (const std::string& name : cursor.tagNames()) {
        names.push_back(toUpperUtf8(name));
    }
    return names;
}

class YearCreation : public ::testing::Test {
protected:
    void SetUp() override {
        createTable(dir_ / "kr000000.dbf", journal::fields());
        test::makeChart(dir_ / "kw000000.dbf", kStandardChart);
    }

    TempDir dir_;
};

TEST_F(YearCreation, NewYearsJournalHoldsExactlyTheFirstRow) {
    createJournal(dir_.path(), "kr201501.dbf", Date::fromYmd(2015, 1, 1));

    const auto journal = dir_ / "kr201501.dbf";
    EXPECT_EQ(tagsOf(journal), (std::vector<std::string>{"NUMMER", "COD", "DATUM", "CODD"}));
    Cursor cursor(journal, OpenMode::Shared);
    cursor.setOrder("Nummer");
    ASSERT_EQ(cursor.recordCount(), 1u);
    cursor.first();
    EXPECT_EQ(cursor.asInteger(journal::kNummer), 1);
    EXPECT_EQ(cursor.asDate(journal::kDatum), Date::fromYmd(2015, 1, 1));
    EXPECT_EQ(cursor.asText(journal::kCod), "");
    EXPECT_FALSE(journal::amount(cursor).has_value());
    EXPECT_FALSE(journal::isOpeningRow(cursor.asInteger(journal::kEroeffnung)));

    if (!test::dbfreadAvailable()) GTEST_SKIP() << "dbfread is not installed";
    const test::DbfreadTable read = test::readWithDbfread(journal);
    EXPECT_EQ(read.facts["mdx_flag"].number, 1);
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0]["NUMMER"].number, 1);
    EXPECT_EQ(read.records[0]["DATUM"].text, "2015-01-01");
    EXPECT_TRUE(read.records[0]["EA"].isNull());
}

TEST_F(YearCreation, JournalWithoutFirstRowIsEmpty) {
    createJournal(dir_.path(), "kr201502.dbf");
    Cursor cursor(dir_ / "kr201502.dbf", OpenMode::Exclusive);
    EXPECT_EQ(cursor.recordCount(), 0u);
    cursor.setOrder("datum");
}

TEST_F(YearCreation, ChartIsTheStandardChartWithCodAndK) {
    createChart(dir_.path(), "kw201501.dbf");
    const auto chart = dir_ / "kw201501.dbf";
    EXPECT_EQ(tagsOf(chart), (std::vector<std::string>{"COD", "K"}));
    EXPECT_EQ(test::readChart(chart), test::readChart(dir_ / "kw000000.dbf"));
    Cursor cursor(chart, OpenMode::Shared);
    cursor.setOrder("k");
    cursor.setRange(std::string("10"), std::string("90"));
    EXPECT_EQ(cursor.recordCount(), 1u);
}

TEST_F(YearCreation, ExistingFileOfTheNameIsReplaced) {
    createJournal(dir_.path(), "kr201501.dbf", Date::fromYmd(2015, 1, 1));
    createJournal(dir_.path(), "KR201501.DBF", Date::fromYmd(2015, 6, 1));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "KR201501.DBF"));
    Cursor cursor(dir_ / "kr201501.dbf", OpenMode::Shared);
    ASSERT_EQ(cursor.recordCount(), 1u);
    EXPECT_EQ(cursor.asDate(journal::kDatum), Date::fromYmd(2015, 6, 1));
}

TEST_F(YearCreation, YearsGetTheNextRunningNumber) {
    for (int i = 0; i < 3; ++i) {
        const std::string number = nextYearNumber(dir_.path(), 2015);
        createJournal(dir_.path(), yearFileName(YearTable::Journal, number), Date::fromYmd(2015, 1, 1));
        createChart(dir_.path(), yearFileName(YearTable::Chart, number));
    }
    EXPECT_EQ(listJournals(dir_.path()), (std::vector<std::string>{"kr201501.dbf", "kr201502.dbf", "kr201503.dbf"}));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "kw201503.dbf"));
}

TEST_F(YearCreation, TemplatesAreFoundInAnyCase) {
    std::filesystem::rename(dir_ / "kw000000.dbf", dir_ / "KW000000.DBF");
    std::filesystem::rename(dir_ / "kw000000.mdx", dir_ / "KW000000.MDX");
    createChart(dir_.path(), "kw201501.dbf");
    EXPECT_EQ(test::readChart(dir_ / "kw201501.dbf").size(), kStandardChart.size());
}

TEST_F(YearCreation, MissingTemplateIsReportedAndNothingIsCreated) {
    std::filesystem::remove(dir_ / "kr000000.dbf");
    try {
        createJournal(dir_.path(), "kr201501.dbf", Date::fromYmd(2015, 1, 1));
        FAIL() << "a journal was made without its template";
    } catch (const MissingYearFile& missing) {
        EXPECT_EQ(toUpperUtf8(missing.fileName()), "KR000000.DBF");
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "kr201501.dbf"));
}

}  // namespace
}  // namespace quendra::storage
