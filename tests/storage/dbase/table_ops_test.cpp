#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::ymd;

std::vector<test::Movement> sampleRows() {
    return {
        {1, ymd(2015, 1, 3), " A0101", " C0101", "Candele", 0, 12.5, 1, 0},
        {2, ymd(2015, 1, 2), " E0201", " C0101", "Offerte", 230, 0, 2, 0},
        {3, ymd(2015, 1, 2), " A0701", " C0201", "Luce", 0, 80.1, 1, 0},
        {4, ymd(2015, 2, 1), " A0101", " C0201", "Fiori", 0, 1, 1, 0},
    };
}

std::vector<std::string> columnOf(const std::filesystem::path& path, const char* field, const char* order = "") {
    Cursor c(path, OpenMode::Shared);
    if (*order) c.setOrder(order);
    std::vector<std::string> values;
    for (c.first(); !c.eof(); c.next()) values.push_back(c.asText(field));
    return values;
}

unsigned char byte28(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(28);
    return static_cast<unsigned char>(in.get());
}

TEST(TableOps, CreateRefusesAnExistingTableUnlessReplacing) {
    test::TempDir dir;
    const auto path = dir / "t.dbf";
    createTable(path, {{"A", FieldType::Character, 3, 0, false}});
    EXPECT_THROW(createTable(path, {{"A", FieldType::Character, 3, 0, false}}), DbError);
    EXPECT_NO_THROW(createTable(path, {{"B", FieldType::Numeric, 4, 1, false}}, true));
    Cursor c(path, OpenMode::Shared);
    EXPECT_EQ(c.fieldDef(0).name, "B");
    EXPECT_THROW(createTable(dir / "u.dbf", {{"NOME_TROPPO_LUNGO", FieldType::Character, 3, 0, false}}), DbError);
}

TEST(TableOps, CopyTakesStructureAndVisibleRowsButNoIndex) {
    test::TempDir dir;
    const auto source = dir / "kr201501.dbf";
    const auto target = dir / "copia" ;
    std::filesystem::create_directory(target);
    test::makeJournal(source, sampleRows());
    {
        Cursor c(source, OpenMode::Shared);
        c.gotoRecord(2);
        c.deleteRecord();
    }
    copyTable(source, target / "kr201501.dbf");
    EXPECT_EQ(columnOf(target / "kr201501.dbf", "text"), (std::vector<std::string>{"Candele", "Luce", "Fiori"}));
    EXPECT_EQ(byte28(target / "kr201501.dbf"), 0);
    EXPECT_FALSE(std::filesystem::exists(target / "kr201501.mdx"));
    EXPECT_TRUE(checkTable(target / "kr201501.dbf").empty());
}

TEST(TableOps, CopyRowsOfARangeIntoAScratchTableInItsOrder) {
    test::TempDir dir;
    const auto source = dir / "kr201501.dbf";
    test::makeJournal(source, sampleRows());
    Cursor c(source, OpenMode::Shared);
    c.setOrder("cod");
    c.setRange(std::string(" A"), std::string(" Ax9x"));
    copyRowsTo(c, dir / "temp.dbf");
    copyRowsTo(c, dir / "temp.dbf");  // replaces
    EXPECT_EQ(columnOf(dir / "temp.dbf", "text"), (std::vector<std::string>{"Candele", "Fiori", "Luce"}));
}

TEST(TableOps, PackDropsDeletedRowsAndRebuildsTheTags) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, sampleRows());
    {
        Cursor c(path, OpenMode::Shared);
        c.gotoRecord(1);
        c.deleteRecord();
        c.gotoRecord(3);
        c.deleteRecord();
    }
    packTable(path);
    {
        Cursor c(path, OpenMode::Exclusive);
        EXPECT_EQ(c.table()->physicalCount(), 2u);
        EXPECT_EQ(c.tagNames(), (std::vector<std::string>{"NUMMER", "COD", "DATUM", "CODD"}));
    }
    EXPECT_EQ(columnOf(path, "text", "datum"), (std::vector<std::string>{"Offerte", "Fiori"}));
    EXPECT_TRUE(checkTable(path).empty());
    EXPECT_EQ(byte28(path), 1);
}

TEST(TableOps, DeleteRemovesTableAndIndexButNotWhileOpen) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, sampleRows());
    {
        Cursor c(path, OpenMode::Shared);
        EXPECT_THROW(deleteTable(path), DbError);
    }
    deleteTable(path);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(dir / "kr201501.mdx"));
}

class IndexProblems : public ::testing::Test {
protected:
    void SetUp() override { test::makeJournal(path, sampleRows()); }

    DbError::Kind exclusiveFailure() {
        try {
            Cursor c(path, OpenMode::Exclusive);
        } catch (const DbError& e) {
            return e.kind();
        }
        return DbError::Kind::Io;
    }

    void overwrite(const std::filesystem::path& file, std::streamoff at, const std::string& bytes) {
        std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(at);
        f.write(bytes.data(), std::streamsize(bytes.size()));
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201501.dbf";
    std::filesystem::path mdx = dir / "kr201501.mdx";
};

TEST_F(IndexProblems, MissingIndexFailsExclusiveButSharedWorksInPhysicalOrder) {
    std::filesystem::remove(mdx);
    EXPECT_EQ(exclusiveFailure(), DbError::Kind::IndexMissing);
    Cursor c(path, OpenMode::Shared);
    EXPECT_EQ(c.recordCount(), 4u);
    EXPECT_THROW(c.setOrder("cod"), DbError);
    c.first();
    c.edit();
    c.setText("text", "Ancora scrivibile");
    c.post();
    c.close();
    EXPECT_EQ(exclusiveFailure(), DbError::Kind::IndexMissing) << "the flag still announces the lost index";
    reindexTable(path, {{"cod", "cod"}, {"nummer", "Nummer"}});
    Cursor repaired(path, OpenMode::Exclusive);
    EXPECT_EQ(repaired.tagNames(), (std::vector<std::string>{"COD", "NUMMER"}));
}

TEST_F(IndexProblems, DamagedIndexIsReportedAndRebuiltFromTheTagsItDeclared) {
    overwrite(mdx, 2048, std::string(3000, '\xFF'));
    EXPECT_EQ(exclusiveFailure(), DbError::Kind::IndexDamaged);
    reindexTable(path);
    EXPECT_TRUE(checkTable(path).empty());
    EXPECT_EQ(columnOf(path, "text", "cod"), (std::vector<std::string>{"Candele", "Fiori", "Luce", "Offerte"}));
}

TEST_F(IndexProblems, IndexBehindTheRowsIsStale) {
    // Another program changed a key field without maintaining the index.
    Cursor probe(path, OpenMode::Shared);
    const auto& header = probe.table()->header();
    const std::streamoff at = std::streamoff(header.recordOffset(1) + header.fieldOffsets[2]);
    probe.close();
    overwrite(path, at, " P0101");
    EXPECT_EQ(exclusiveFailure(), DbError::Kind::IndexStale);
    EXPECT_FALSE(checkTable(path).empty());
    reindexTable(path);
    EXPECT_TRUE(checkTable(path).empty());
    Cursor c(path, OpenMode::Exclusive);
    c.setOrder("cod");
    EXPECT_TRUE(c.findKey(std::string(" P0101")));
}

TEST_F(IndexProblems, PackOverAStaleIndexDropsTheDeletedRowAndRebuildsTheDeclaredTags) {
    // Another program deleted a row and changed a key, leaving the index behind.
    Cursor probe(path, OpenMode::Shared);
    const auto& header = probe.table()->header();
    const std::streamoff second = std::streamoff(header.recordOffset(2));
    const std::streamoff firstCode = std::streamoff(header.recordOffset(1) + header.fieldOffsets[2]);
    probe.close();
    overwrite(path, second, "*");
    overwrite(path, firstCode, " P0101");
    EXPECT_EQ(exclusiveFailure(), DbError::Kind::IndexStale);
    packTable(path);
    EXPECT_TRUE(checkTable(path).empty());
    Cursor c(path, OpenMode::Exclusive);
    EXPECT_EQ(c.recordCount(), 3u);
    EXPECT_EQ(c.tagNames(), (std::vector<std::string>{"NUMMER", "COD", "DATUM", "CODD"}));
    c.setOrder("cod");
    EXPECT_TRUE(c.findKey(std::string(" P0101")));
}

TEST_F(IndexProblems, ByteTwentyEightWithoutIndexAndIndexWithoutByteAreReportedByCheck) {
    overwrite(path, 28, std::string(1, '\0'));
    EXPECT_FALSE(checkTable(path).empty());
    Cursor c(path, OpenMode::Exclusive);  // no index announced: opens, in physical order
    EXPECT_TRUE(c.tagNames().empty());
}

TEST(TableFiles, BadTablesGiveAClearErrorNamingTheFile) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, sampleRows());
    std::filesystem::resize_file(path, 200);
    try {
        Cursor c(path, OpenMode::Shared);
        FAIL() << "a truncated table opened";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::BadFile);
        EXPECT_NE(std::string(e.what()).find("KR201501.DBF"), std::string::npos) << e.what();
    }
    EXPECT_THROW(Cursor(dir / "manca.dbf", OpenMode::Shared), DbError);
}

}  // namespace
}  // namespace quendra::storage
