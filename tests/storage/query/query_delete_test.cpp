#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/query/query.h"
#include "storage/dbase/table_check.h"
#include "support/dbfread_reader.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::ymd;

class QueryDelete : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeJournal(path, {
            {1, ymd(2016, 1, 1), " C0101", " C0101", "Riporto: 2015/01 - Cassa", 500, 0, 2, 2},
            {2, ymd(2016, 1, 1), " C0201", " C0201", "Riporto: 2015/01 - Banca", 900, 0, 2, 2},
            {3, ymd(2016, 1, 4), " E0201", " C0101", "Offerte", 40, 0, 2, 0},
            {4, ymd(2016, 1, 9), " C0101", " C0101", "Apertura a mano", 10, 0, 2, 1},
            {5, ymd(2016, 1, 9), " A0101", " C0201", "Candele", 0, 12, 1, 0},
        });
    }

    std::string sql(const std::string& where) const { return "delete  from \"" + path.string() + "\" where " + where; }

    std::vector<int> remaining() {
        Cursor c(path, OpenMode::Shared);
        c.setOrder("cod");
        std::vector<int> out;
        for (c.first(); !c.eof(); c.next()) out.push_back(int(c.asInteger("nummer")));
        return out;
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201601.dbf";
};

TEST_F(QueryDelete, CarryForwardRowsGoAndTheIndexStaysRight) {
    EXPECT_EQ(runDelete(sql("eroeffnung =2")), 2u);
    EXPECT_EQ(remaining(), (std::vector<int>{5, 4, 3}));  // walked by the cod tag
    EXPECT_TRUE(checkTable(path).empty());
    ASSERT_TRUE(test::dbfreadAvailable());
    const test::DbfreadTable seen = test::readWithDbfread(path);
    ASSERT_EQ(seen.records.size(), 3u);
    EXPECT_EQ(seen.records[0]["NUMMER"].number, 3);
    EXPECT_EQ(test::readWithDbfread(path, /*deletedRecords=*/true).records.size(), 2u);
}

TEST_F(QueryDelete, CountsOnlyRowsThatWereStillThere) {
    EXPECT_EQ(runDelete(sql("eroeffnung = 9")), 0u);
    EXPECT_EQ(runDelete(sql("codd = :c"), QueryParams().text("c", " C0101")), 3u);
    EXPECT_EQ(runDelete(sql("codd = :c or nummer > 0"), QueryParams().text("c", " C0101")), 2u);
    EXPECT_EQ(remaining(), (std::vector<int>{}));
}

TEST_F(QueryDelete, AnOpenCursorSeesTheRowsGo) {
    Cursor open(path, OpenMode::Shared);
    EXPECT_EQ(runDelete(sql("datum = :d"), QueryParams().date("d", ymd(2016, 1, 9))), 2u);
    EXPECT_EQ(open.recordCount(), 3u);
}

TEST_F(QueryDelete, FailsWithoutTouchingTheTable) {
    EXPECT_THROW(runDelete(sql("nummero = 1")), DbError);
    EXPECT_THROW(runDelete(sql("cod = 1")), DbError);
    {
        Cursor exclusive(path, OpenMode::Exclusive);
        try {
            runDelete(sql("nummer = 1"));
            ADD_FAILURE() << "deleted from a table held exclusively";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::Locked);
            EXPECT_EQ(std::string(e.what()).rfind("La tabella ", 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(remaining().size(), 5u);
}

TEST_F(QueryDelete, SelectAndDeleteEachRunOnlyTheirOwnStatement) {
    EXPECT_THROW(runDelete("select * from \"" + path.string() + "\""), DbError);
    EXPECT_THROW(runSelect(sql("nummer = 1")), DbError);
    EXPECT_EQ(remaining().size(), 5u);
}

}  // namespace
}  // namespace quendra::storage
