#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::Movement;
using test::ymd;

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeJournal(path, {
            {1, ymd(2015, 1, 3), " A0101", " C0101", "Candele", 0, 12.5, 1, 0},
            {2, ymd(2015, 1, 2), " E0201", " C0101", "Offerte domenicali", 230, 0, 2, 0},
            {3, ymd(2015, 1, 2), " A0701", " C0201", "Luce e gas", 0, 80.1, 1, 0},
            {4, ymd(2015, 2, 1), "HA0100", " C0201", "Riga di prova", 0, 1, 1, 0},
            {5, ymd(2015, 3, 1), " C0101", " C0101", "Apertura cassa", 500, 0, 2, 2},
        });
    }

    std::vector<int> walk(Cursor& c) {
        std::vector<int> numbers;
        for (c.first(); !c.eof(); c.next()) numbers.push_back(int(c.asInteger("nummer")));
        return numbers;
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201501.dbf";
};

TEST_F(CursorTest, FieldsReadBackByNameWhateverTheirCase) {
    Cursor c(path, OpenMode::Shared);
    c.first();
    EXPECT_EQ(c.asText("COD"), " A0101");
    EXPECT_EQ(c.asText("Text"), "Candele");
    EXPECT_DOUBLE_EQ(c.asNumber("ausgabe"), 12.5);
    EXPECT_EQ(c.asText("Ausgabe"), "12.50");
    EXPECT_EQ(c.asDate("DATUM"), ymd(2015, 1, 3));
    EXPECT_EQ(c.asText("datum"), "03.01.2015");
    EXPECT_EQ(c.asInteger("EA"), 1);
    EXPECT_THROW(c.asText("nessuno"), DbError);
    EXPECT_EQ(c.recordCount(), 5u);
}

TEST_F(CursorTest, WalksEachOrderAndKeepsIndexOrderForEqualKeys) {
    Cursor c(path, OpenMode::Shared);
    EXPECT_EQ(walk(c), (std::vector<int>{1, 2, 3, 4, 5}));
    c.setOrder("Cod");
    EXPECT_EQ(walk(c), (std::vector<int>{1, 3, 5, 2, 4}));  // every sub-account before "HA0100"
    c.setOrder("datum");
    EXPECT_EQ(walk(c), (std::vector<int>{2, 3, 1, 4, 5}));
    c.setOrder("Nummer");
    c.last();
    EXPECT_TRUE(c.eof());
    EXPECT_EQ(c.asInteger("nummer"), 5);
    std::vector<int> backwards;
    for (c.last(); !c.bof(); c.prior()) backwards.push_back(int(c.asInteger("nummer")));
    EXPECT_EQ(backwards, (std::vector<int>{5, 4, 3, 2, 1}));
    EXPECT_THROW(c.setOrder("text"), DbError);
}

TEST_F(CursorTest, EmptyTableIsAtEndAfterFirst) {
    const auto empty = dir / "kr201601.dbf";
    test::makeJournal(empty, {});
    Cursor c(empty, OpenMode::Shared);
    c.first();
    EXPECT_TRUE(c.eof());
    EXPECT_TRUE(c.bof());
    EXPECT_EQ(c.recordCount(), 0u);
    EXPECT_EQ(c.recordNumber(), 0u);
    EXPECT_EQ(c.asText("cod"), "");
    EXPECT_THROW(c.edit(), DbError);
}

TEST_F(CursorTest, FindKeyExactAndNearest) {
    Cursor c(path, OpenMode::Shared);
    c.setOrder("cod");
    EXPECT_TRUE(c.findKey(std::string(" A0701")));
    EXPECT_EQ(c.asInteger("nummer"), 3);
    c.first();
    EXPECT_FALSE(c.findKey(std::string(" A0702")));
    EXPECT_EQ(c.asInteger("nummer"), 1) << "a failed exact search does not move";
    c.findNearest(std::string(" A0702"));
    EXPECT_EQ(c.asText("cod"), " C0101");
    c.findNearest(std::string(" A01"));  // a four-character prefix finds the first of its group
    EXPECT_EQ(c.asText("cod"), " A0101");
    c.findNearest(std::string("Z"));
    EXPECT_TRUE(c.eof());
    c.setOrder("nummer");
    EXPECT_TRUE(c.findKey(4.0));
    EXPECT_EQ(c.asText("cod"), "HA0100");
    c.setOrder("datum");
    EXPECT_TRUE(c.findKey(ymd(2015, 1, 2)));
    EXPECT_EQ(c.asInteger("nummer"), 2);
    EXPECT_THROW(c.findKey(1.0), DbError) << "a number is no date";
}

TEST_F(CursorTest, RangesCompareAsStringsAndIncludeBothBounds) {
    Cursor c(path, OpenMode::Shared);
    c.setOrder("cod");
    c.setRange(std::string("H"), std::string("Hx9x"));
    EXPECT_EQ(walk(c), (std::vector<int>{4}));
    c.setRange(std::string(" A"), std::string(" A0701"));
    EXPECT_EQ(walk(c), (std::vector<int>{1, 3}));
    EXPECT_EQ(c.recordCount(), 2u);
    c.setRange(std::string(" A07"), std::string(" A07x9x"));
    EXPECT_EQ(walk(c), (std::vector<int>{3}));
    c.cancelRange();
    EXPECT_EQ(c.recordCount(), 5u);
    c.setOrder("datum");
    c.setRange(ymd(2015, 1, 2), ymd(2015, 1, 3));
    EXPECT_EQ(walk(c), (std::vector<int>{2, 3, 1}));
}

TEST_F(CursorTest, LocateByValueCaseBlindOrByLeadingPart) {
    Cursor c(path, OpenMode::Shared);
    EXPECT_TRUE(c.locate("text", "Luce e gas"));
    EXPECT_EQ(c.asInteger("nummer"), 3);
    EXPECT_FALSE(c.locate("text", "luce e gas"));
    EXPECT_EQ(c.asInteger("nummer"), 3);
    EXPECT_TRUE(c.locate("text", "luce E GAS", {.caseInsensitive = true}));
    EXPECT_TRUE(c.locate("text", "Offerte", {.partialKey = true}));
    EXPECT_EQ(c.asInteger("nummer"), 2);
}

TEST_F(CursorTest, TwoCursorsOnOneFileSeeEachOthersPosts) {
    Cursor a(path, OpenMode::Shared);
    Cursor b(path, OpenMode::Shared);
    b.setOrder("cod");
    a.first();
    a.edit();
    a.setText("cod", " P0201");
    a.post();
    EXPECT_TRUE(b.findKey(std::string(" P0201")));
    EXPECT_EQ(b.asInteger("nummer"), 1);
    test::appendMovement(a, {6, ymd(2015, 4, 1), " A0101", " C0101", "Nuova", 0, 3, 1, 0});
    EXPECT_EQ(b.recordCount(), 6u);
    EXPECT_EQ(a.asInteger("nummer"), 6) << "an appended row becomes current";
    EXPECT_THROW(Cursor(path, OpenMode::Exclusive), DbError);
}

TEST_F(CursorTest, EditsChangeTheOrderAndReachTheFile) {
    {
        Cursor c(path, OpenMode::Shared);
        c.setOrder("cod");
        c.first();  // " A0101", number 1
        c.edit();
        c.setText("cod", " P0101");
        c.setNumber("ausgabe", 1234.5);
        c.post();
        EXPECT_EQ(c.asInteger("nummer"), 1) << "the posted row stays current";
        c.next();
        EXPECT_EQ(c.asText("cod"), "HA0100") << "and moved to its new place in the order";
    }
    EXPECT_TRUE(checkTable(path).empty());
    Cursor again(path, OpenMode::Exclusive);
    again.setOrder("cod");
    ASSERT_TRUE(again.findKey(std::string(" P0101")));
    EXPECT_DOUBLE_EQ(again.asNumber("ausgabe"), 1234.5);
}

TEST_F(CursorTest, RefusedValuesWriteNothing) {
    Cursor c(path, OpenMode::Shared);
    c.first();
    c.edit();
    EXPECT_THROW(c.setText("cod", " A01011"), DbError) << "seven characters in a six-character field";
    EXPECT_THROW(c.setText("text", "Ł"), DbError) << "not in Windows-1252";
    EXPECT_THROW(c.setNumber("nummer", 1234567), DbError);
    c.setText("text", "Caffè € äöüß");
    c.post();
    EXPECT_EQ(c.asText("cod"), " A0101");
    EXPECT_EQ(c.asText("text"), "Caffè € äöüß");
    EXPECT_EQ(c.asInteger("nummer"), 1);
    EXPECT_THROW(c.setText("text", "x"), DbError) << "writing needs edit or append";
}

TEST_F(CursorTest, DeleteHidesTheRowAndMovesOnRecallBringsItBack) {
    Cursor c(path, OpenMode::Shared);
    c.setOrder("nummer");
    ASSERT_TRUE(c.findKey(2.0));
    const std::uint32_t recno = c.recordNumber();
    c.deleteRecord();
    EXPECT_EQ(c.asInteger("nummer"), 3);
    EXPECT_EQ(walk(c), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(c.recordCount(), 4u);
    EXPECT_FALSE(c.findKey(2.0));
    c.last();
    c.deleteRecord();
    EXPECT_EQ(c.asInteger("nummer"), 4) << "deleting the last row moves back";
    c.recall(recno);
    EXPECT_EQ(c.asInteger("nummer"), 2);
    EXPECT_EQ(walk(c), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(checkTable(path).empty());
}

TEST_F(CursorTest, MovingWhileEditingPostsFirst) {
    Cursor c(path, OpenMode::Shared);
    c.first();
    c.edit();
    c.setText("text", "Cambiato");
    c.next();
    c.first();
    EXPECT_EQ(c.asText("text"), "Cambiato");
    c.append();
    c.setInteger("nummer", 9);
    c.close();
    Cursor d(path, OpenMode::Shared);
    EXPECT_EQ(d.recordCount(), 6u) << "closing posts the pending row rather than losing it";
}

TEST_F(CursorTest, DetailFollowsTheMastersField) {
    const auto chartPath = dir / "kw201501.dbf";
    createTable(chartPath, {{"COD", FieldType::Character, 6, 0, false}, {"TEXT", FieldType::Character, 60, 0, false}});
    {
        Cursor chart(chartPath, OpenMode::Exclusive);
        for (const char* cod : {" A0101", " A0701", " C0101", " C0201", " E0201"}) {
            chart.append();
            chart.setText("COD", cod);
            chart.setText("TEXT", std::string("Conto ") + cod);
            chart.post();
        }
        chart.addTag("cod", "COD");
    }
    Cursor journal(path, OpenMode::Shared);
    Cursor account(chartPath, OpenMode::Shared);
    account.setOrder("cod");
    account.setMasterLink(journal, "cod");
    journal.first();
    EXPECT_EQ(account.asText("TEXT"), "Conto  A0101");
    journal.next();
    EXPECT_EQ(account.asText("TEXT"), "Conto  E0201");
    journal.next();
    journal.next();  // "HA0100" is no chart row
    EXPECT_TRUE(account.eof());
    EXPECT_EQ(account.recordCount(), 0u);
    journal.edit();
    journal.setText("cod", " C0201");
    EXPECT_EQ(account.asText("TEXT"), "Conto  C0201") << "follows the edit buffer at once";
}

TEST_F(CursorTest, ExclusiveOpenIsRefusedWhileAnotherCursorHoldsTheTable) {
    {
        Cursor shared(path, OpenMode::Shared);
        try {
            Cursor exclusive(path, OpenMode::Exclusive);
            FAIL() << "exclusive open succeeded";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::Locked);
        }
    }
    Cursor exclusive(path, OpenMode::Exclusive);
    EXPECT_THROW(Cursor(path, OpenMode::Shared), DbError);
    EXPECT_THROW(packTable(path), DbError) << "whole-table operations wait for the cursors to close";
}

TEST_F(CursorTest, PostsWithoutAnOrderStillMaintainTheIndex) {
    {
        Cursor c(path, OpenMode::Shared);  // the index is read only when first needed
        test::appendMovement(c, {6, ymd(2015, 5, 1), " A0101", " C0101", "Senza ordine", 0, 2, 1, 0});
        c.first();
        c.edit();
        c.setText("cod", " E0101");
        c.post();
    }
    EXPECT_TRUE(checkTable(path).empty());
    Cursor exclusive(path, OpenMode::Exclusive);
    exclusive.setOrder("cod");
    EXPECT_TRUE(exclusive.findKey(std::string(" E0101")));
}

TEST_F(CursorTest, AddTagNeedsExclusiveOpen) {
    Cursor c(path, OpenMode::Shared);
    EXPECT_THROW(c.addTag("text", "text"), DbError);
}

}  // namespace
}  // namespace quendra::storage
