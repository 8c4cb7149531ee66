// Damaged headers, fields and indexes: each is a clean Italian error or a reported
// problem that the repair fixes without losing a row, never a silent wrong answer.

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "storage/index_repair.h"
#include "storage/query/query.h"
#include "support/file_contents.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::ymd;

constexpr int kRows = 30;

class DamagedTable : public ::testing::Test {
protected:
    DamagedTable() {
        std::vector<test::Movement> rows;
        for (int n = 1; n <= kRows; ++n) rows.push_back({n, ymd(2015, 4, 1 + n % 28), " A0101", " C0101", "Riga", 0, 291.74, 1, 0});
        test::makeJournal(path, rows);
        bytes = test::readFile(path);
        recordLength = std::uint8_t(bytes[10]) | std::size_t(std::uint8_t(bytes[11])) << 8;
        headerLength = std::uint8_t(bytes[8]) | std::size_t(std::uint8_t(bytes[9])) << 8;
    }
    void setCount(std::uint32_t count) {
        for (int i = 0; i < 4; ++i) bytes[4 + std::size_t(i)] = char((count >> (8 * i)) & 0xFF);
        test::writeFile(path, bytes);
    }
    DbError::Kind openFailure(OpenMode mode) const {
        try {
            Cursor c(path, mode);
        } catch (const DbError& e) {
            return e.kind();
        }
        return DbError::Kind::BadState;
    }
    std::size_t rows() const { return Cursor(path, OpenMode::Shared).recordCount(); }
    double sum() const {
        return runSelect("select sum(ausgabe) from \"" + path.string() + "\"")->asNumber(std::size_t(0));
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201501.dbf";
    std::string bytes;
    std::size_t recordLength = 0;
    std::size_t headerLength = 0;
};

TEST_F(DamagedTable, ALoweredCountIsAnErrorAndTheRepairBringsBackEveryRow) {
    setCount(kRows - 11);
    EXPECT_EQ(openFailure(OpenMode::Shared), DbError::Kind::RecordCount) << "no answer from fewer rows";
    EXPECT_EQ(checkTable(path).front(), "Il file \"KR201501.DBF\" dichiara 19 record ma ne contiene 30: va riparato "
                                        "(RIORGANIZZAZIONE o quendra-db reindex)");
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_EQ(rows(), std::size_t(kRows));
    EXPECT_EQ(checkTable(path), std::vector<std::string>{});
    {
        Cursor journal(path, OpenMode::Shared);
        test::appendMovement(journal, {99, ymd(2015, 5, 1), " A0101", " C0101", "Nuova", 0, 1, 1, 0});
    }
    EXPECT_EQ(rows(), std::size_t(kRows + 1)) << "the new row went after the recovered ones";
}

TEST_F(DamagedTable, ARaisedCountIsAnErrorAndTheRepairKeepsTheRowsTheFileHolds) {
    setCount(kRows + 1000);
    EXPECT_EQ(openFailure(OpenMode::Shared), DbError::Kind::RecordCount);
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_EQ(rows(), std::size_t(kRows));
    // A torn last row (half of it on the disk) is dropped, the whole ones kept.
    test::writeFile(path, test::readFile(path).substr(0, headerLength + recordLength * 12 + recordLength / 2));
    EXPECT_TRUE(repairRecordCount(path));
    EXPECT_EQ(rows(), 12u);
    EXPECT_FALSE(repairRecordCount(path));
}

TEST_F(DamagedTable, AGarbledAmountIsAnErrorNamingTableRowAndField) {
    const std::size_t at = bytes.find("291.74", headerLength + 6 * recordLength);
    bytes[at + 3] = 'n';
    test::writeFile(path, bytes);
    try {
        sum();
        FAIL() << "a garbled amount was summed";
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(), "Tabella \"KR201501.DBF\", record 7: il campo AUSGABE contiene \"291n74\", che non è "
                               "un numero");
    }
    Cursor journal(path, OpenMode::Shared);
    ASSERT_TRUE(journal.gotoRecord(7));
    EXPECT_THROW(journal.asNumber("ausgabe"), DbError);
    EXPECT_EQ(checkTable(path), (std::vector<std::string>{"record 7, campo AUSGABE: \"291n74\", che non è un numero"}));
}

TEST_F(DamagedTable, AGarbledDateAndAChangedFieldTypeAreReported) {
    const std::size_t date = bytes.find("20150404", headerLength + 2 * recordLength);  // record 3's Datum
    ASSERT_LT(date, headerLength + 3 * recordLength);
    bytes[date + 4] = '9';  // month 94
    test::writeFile(path, bytes);
    Cursor journal(path, OpenMode::Shared);
    ASSERT_TRUE(journal.gotoRecord(3));
    EXPECT_THROW(journal.asDate("datum"), DbError);
    journal.close();
    EXPECT_EQ(checkTable(path).front(), "record 3, campo DATUM: \"20159404\", che non è una data");

    bytes = test::readFile(path);
    bytes[32 + 5 * 32 + 11] = 'L';  // EINNAHME turned logical
    test::writeFile(path, bytes);
    EXPECT_EQ(openFailure(OpenMode::Shared), DbError::Kind::BadFile);
    EXPECT_NE(checkTable(path).front().find("non ammessa per il campo EINNAHME"), std::string::npos);
}

TEST_F(DamagedTable, AnIndexWithoutTagsIsReportedAndRebuilt) {
    std::string mdx = test::readFile(dir / "kr201501.mdx");
    mdx[28] = mdx[29] = 0;
    test::writeFile(dir / "kr201501.mdx", mdx);
    EXPECT_EQ(openFailure(OpenMode::Exclusive), DbError::Kind::IndexDamaged);
    EXPECT_NE(checkTable(path).front().find("non contiene alcun tag"), std::string::npos);
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_TRUE(yearTableSound(YearTable::Journal, path));
    EXPECT_EQ(checkTable(path), std::vector<std::string>{});
}

TEST_F(DamagedTable, AYearTableMissingATagIsNotSoundAndTheRepairAddsIt) {
    reindexTable(path, {{"nummer", "nummer"}, {"cod", "cod"}});  // as a killed tag-by-tag repair left it
    EXPECT_NO_THROW(Cursor(path, OpenMode::Exclusive)) << "it opens, yet lacks datum and codd";
    EXPECT_FALSE(yearTableSound(YearTable::Journal, path));
    ensureYearTableSound(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_TRUE(yearTableSound(YearTable::Journal, path));
    Cursor journal(path, OpenMode::Shared);
    EXPECT_NO_THROW(journal.setOrder("datum"));
}

}  // namespace
}  // namespace quendra::storage
