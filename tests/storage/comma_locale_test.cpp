// What an Italian or German desktop does to numbers: the C library's decimal comma must
// never reach an amount on screen, an index key or a workbook cell.

#include "export/year_export.h"
#include "storage/amount_format.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"

#include "export/export_year.h"
#include "support/journal_fixture.h"
#include "support/openpyxl_reader.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

class CommaLocale : public ::testing::TestWithParam<const char*> {
protected:
    test::ScopedLocale locale_{GetParam()};
};

TEST_P(CommaLocale, AmountsKeepTheProgramsOwnFormatBothWays) {
    struct Case {
        double value;
        Picture picture;
        const char* shown;
    };
    for (const Case& c : {Case{1250, Picture::Amount, "1.250,00"}, Case{1250, Picture::GridAmount, "1.250,00   "},
                          Case{0, Picture::Amount, "0,00"}, Case{-1234567.5, Picture::EditAmount, "-1.234.567,50"},
                          Case{600, Picture::Calculator, "600,00"}, Case{2.5, Picture::Margin, "2,5"},
                          Case{0.07, Picture::Amount, "0,07"}, Case{999999999.99, Picture::Amount, "999.999.999,99"}}) {
        EXPECT_EQ(formatNumber(c.value, c.picture), c.shown) << c.value;
        EXPECT_EQ(parseAmount(c.shown), c.value) << c.shown;
    }
    EXPECT_EQ(parseAmount("12.50"), 1250) << "dots are thousands in typed amounts";
}

TEST_P(CommaLocale, NumericIndexKeysReadDecimalPoints) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, {
                                {1, test::ymd(2015, 1, 3), " A0101", " C0101", "Candele", 0, 12.5, 1, 0},
                                {4, test::ymd(2015, 1, 4), " A0101", " C0101", "Fiori", 0, 8, 1, 0},
                            });
    Cursor c(path, OpenMode::Shared);
    c.setOrder("nummer");
    EXPECT_TRUE(c.findKey(std::string("4.00")));
    EXPECT_FALSE(c.findKey(std::string("1.50"))) << "1.50 is no 1";
    c.findNearest(std::string(" 1.5 "));
    EXPECT_EQ(c.asInteger("nummer"), 4);
    EXPECT_THROW(c.findKey(std::string("1,5")), DbError);
}

TEST_P(CommaLocale, WorkbookCellsKeepTheirCents) {
    if (!test::openpyxlAvailable()) GTEST_SKIP() << "/usr/bin/python3 without openpyxl";
    test::ExportYear year;
    year.write({test::in(" E0101", " C0101", 2075.5), test::out(" A0101", " C0101", 0.07)});
    const auto file = year.dir / "mappe.xlsx";
    spreadsheet::exportYear(year.journal, year.chart, year.number, file);
    const auto sheets = test::readWithOpenpyxl(file);
    ASSERT_GE(sheets.size(), 3u);
    EXPECT_EQ(sheets[2].at("G2"), test::xlsxNumber(0.07));
    EXPECT_EQ(sheets[2].at("F3"), test::xlsxNumber(2075.5));
}

INSTANTIATE_TEST_SUITE_P(Desktops, CommaLocale, ::testing::ValuesIn(test::kCommaLocales),
                         [](const auto& info) { return std::string(info.param).substr(0, 5); });

}  // namespace
}  // namespace quendra::storage
