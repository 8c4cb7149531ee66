// One writer per table across processes: the second writer is refused before it writes
// a byte, and every post the first one was told about is in the file.

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "storage/query/query.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <functional>
#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::Child;
using test::ymd;

constexpr std::uint32_t kRefused = 1000000;

test::Movement movement(int n) {
    return {n, ymd(2015, 3, 1 + n % 28), " A0101", " C0101", "Riga " + std::to_string(n), 0, n * 0.5, 1, 0};
}

std::vector<int> numbers(const std::filesystem::path& path) {
    Cursor table(path, OpenMode::Shared);
    std::vector<int> out;
    for (table.first(); !table.eof(); table.next()) out.push_back(int(table.asInteger("nummer")));
    return out;
}

TEST(OneWriter, TheSecondProcessIsRefusedBeforeItWritesAndEveryAcknowledgedPostStays) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, {movement(1)});

    // The child becomes the writer and keeps posting until told to stop.
    Child writer([&](Child& self) {
        Cursor table(path, OpenMode::Shared);
        test::appendMovement(table, movement(2));
        self.tell(2);
        self.waitForParent();
        for (int n = 3; n <= 40; ++n) {
            test::appendMovement(table, movement(n));
            self.tell(std::uint32_t(n));
        }
    });
    std::uint32_t acked = 0;
    ASSERT_TRUE(writer.hear(acked));

    Cursor mine(path, OpenMode::Shared);
    const std::string before = test::readFile(path);
    try {
        test::appendMovement(mine, movement(99));
        FAIL() << "a second writer was let in";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Locked);
        EXPECT_STREQ(e.what(), "La tabella \"KR201501.DBF\" è in uso da un altro programma");
    }
    mine.cancel();
    mine.close();
    EXPECT_EQ(test::readFile(path), before) << "not a byte written by the refused post";
    for (const auto& operation : std::vector<std::function<void()>>{
             [&] { runDelete("delete from \"" + path.string() + "\" where nummer = 1"); },
             [&] { packTable(path); },
             [&] { reindexTable(path); },
             [&] { copyTable(path, dir / "kr201401.dbf"); copyTable(dir / "kr201401.dbf", path); }}) {
        try {
            operation();
            ADD_FAILURE() << "an operation wrote under the writer";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::Locked) << e.what();
        }
    }
    EXPECT_EQ(test::readFile(path), before);

    writer.release();
    std::uint32_t value = 0;
    while (writer.hear(value)) acked = value;
    EXPECT_EQ(writer.join(), 0);
    EXPECT_EQ(acked, 40u);
    std::vector<int> expected;
    for (int n = 1; n <= 40; ++n) expected.push_back(n);
    EXPECT_EQ(numbers(path), expected);
    EXPECT_EQ(checkTable(path), std::vector<std::string>{});
}

TEST(OneWriter, AReaderSeesOnlyPostedRowsAndAStaleWriterIsRefused) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, {movement(1), movement(2)});
    Cursor reader(path, OpenMode::Shared);  // loaded before the other process writes

    Child other([&](Child& self) {
        Cursor table(path, OpenMode::Shared);
        test::appendMovement(table, movement(3));
        table.gotoRecord(1);
        table.deleteRecord();
        self.tell(1);
    });
    std::uint32_t done = 0;
    ASSERT_TRUE(other.hear(done));
    EXPECT_EQ(other.join(), 0);

    EXPECT_EQ(reader.recordCount(), 2u) << "the snapshot it opened";
    // Writing from that snapshot would overwrite the other process's rows and undo its delete.
    try {
        test::appendMovement(reader, movement(4));
        FAIL() << "a writer with stale rows was let in";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Locked);
        EXPECT_NE(std::string(e.what()).find("modificata da un altro programma"), std::string::npos) << e.what();
    }
    reader.cancel();
    reader.close();
    EXPECT_EQ(numbers(path), (std::vector<int>{2, 3}));
    Cursor fresh(path, OpenMode::Shared);
    EXPECT_NO_THROW(test::appendMovement(fresh, movement(4)));
}

// The reader reads the rows before the writer's post and the index after it: the index
// is then ahead of its rows, which is a post in progress and never damage.
TEST(OneWriter, AReaderWaitsOutAPostInProgressInsteadOfCallingTheIndexStale) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, {movement(1)});
    Child writer([&](Child& self) {
        Cursor table(path, OpenMode::Shared);
        test::appendMovement(table, movement(2));  // the write lock is held from here on
        self.tell(2);
        self.waitForParent();
        test::appendMovement(table, movement(3));
        self.tell(3);
        self.waitForParent();
    });
    std::uint32_t posted = 0;
    ASSERT_TRUE(writer.hear(posted));
    Cursor reader(path, OpenMode::Shared);
    writer.release();
    ASSERT_TRUE(writer.hear(posted));
    reader.setOrder("nummer");
    std::vector<int> seen;
    for (reader.first(); !reader.eof(); reader.next()) seen.push_back(int(reader.asInteger("nummer")));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    writer.release();
    EXPECT_EQ(writer.join(), 0);
}

}  // namespace
}  // namespace quendra::storage
