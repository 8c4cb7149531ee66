// Every whole-file operation killed at random points: whatever moment the kill hits,
// the start-up sequence opens the year with every tag and every row, and check is clean.

#include "storage/dbase/cursor.h"
#include "storage/dbase/file_events.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "storage/index_repair.h"
#include "storage/year_table_tags.h"
#include "support/child_process.h"
#include "support/file_contents.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace quendra::storage {
namespace {

using test::Child;
using test::ymd;

constexpr int kRows = 120;
constexpr int kKillsPerOperation = 12;

std::vector<test::Movement> movements(int count, int firstNumber) {
    std::vector<test::Movement> rows;
    for (int i = 0; i < count; ++i) {
        const int n = firstNumber + i;
        rows.push_back({n, ymd(2015, 1 + n % 12, 1 + n % 28), " A01" + std::to_string(10 + n % 80), " C0101",
                        "Movimento " + std::to_string(n), 0, n * 1.25, 1, 0});
    }
    return rows;
}

// Nummer of every visible row, in record order.
std::vector<int> numbers(const std::filesystem::path& journal) {
    Cursor table(journal, OpenMode::Shared);
    std::vector<int> out;
    for (table.first(); !table.eof(); table.next()) out.push_back(int(table.asInteger("nummer")));
    return out;
}

std::vector<int> numbersOf(const std::vector<test::Movement>& rows) {
    std::vector<int> out;
    for (const auto& row : rows) out.push_back(row.nummer);
    return out;
}

// How many file changes an operation makes, so the kills can be spread over all of them.
std::size_t changesMadeBy(const std::function<void()>& operation) {
    std::size_t count = 0;
    watchFileEvents([&](const FileEvent&) { ++count; });
    operation();
    watchFileEvents({});
    return count;
}

// The child runs operation and is stopped dead (no unwinding, no destructors) just before
// its change number killAt reaches the disk.
void runKilledAt(std::size_t killAt, const std::function<void()>& operation) {
    Child child([&](Child&) {
        std::size_t seen = 0;
        watchFileEvents([&](const FileEvent&) {
            if (++seen == killAt) ::raise(SIGKILL);
        });
        operation();
    });
    child.join();
}

struct Scenario {
    std::string name;
    // Makes the year's files before each kill.
    std::function<void(const std::filesystem::path& dir)> prepare;
    std::function<void(const std::filesystem::path& dir)> operation;
    // The Nummer lists the journal may hold afterwards: the old state and the new one.
    std::vector<std::vector<int>> acceptable;
    // A new table that a kill may leave absent.
    bool mayBeAbsent = false;
};

const std::string kJournal = "kr201501.dbf";

void killThroughout(const Scenario& s, unsigned seed) {
    SCOPED_TRACE(s.name);
    std::size_t changes = 0;
    {
        test::TempDir probe;
        s.prepare(probe.path());
        changes = changesMadeBy([&] { s.operation(probe.path()); });
    }
    ASSERT_GT(changes, 0u);
    std::mt19937 random(seed);
    for (int round = 0; round < kKillsPerOperation; ++round) {
        const std::size_t killAt = std::uniform_int_distribution<std::size_t>(1, changes)(random);
        SCOPED_TRACE("killed at change " + std::to_string(killAt) + " of " + std::to_string(changes));
        test::TempDir dir;
        s.prepare(dir.path());
        runKilledAt(killAt, [&] { s.operation(dir.path()); });

        const auto journal = dir / kJournal;
        if (s.mayBeAbsent && !std::filesystem::exists(journal)) continue;
        // The start-up sequence.
        ensureYearTableSound(YearTable::Journal, dir.path(), kJournal);
        EXPECT_TRUE(yearTableSound(YearTable::Journal, journal));
        EXPECT_EQ(checkTable(journal), std::vector<std::string>{});
        const std::vector<int> found = numbers(journal);
        EXPECT_NE(std::find(s.acceptable.begin(), s.acceptable.end(), found), s.acceptable.end())
            << found.size() << " rows";
    }
}

TEST(WholeFileKill, IndexRepairLeavesTheOldIndexOrTheNew) {
    const auto rows = movements(kRows, 1);
    Scenario s{"repair",
               [&](const std::filesystem::path& dir) { test::makeJournal(dir / kJournal, rows); },
               [](const std::filesystem::path& dir) { indexreparatur(YearTable::Journal, dir, kJournal); },
               {numbersOf(rows)}};
    killThroughout(s, 1);
}

TEST(WholeFileKill, ReindexLeavesTheOldIndexOrTheNew) {
    const auto rows = movements(kRows, 1);
    Scenario s{"reindex",
               [&](const std::filesystem::path& dir) { test::makeJournal(dir / kJournal, rows); },
               [](const std::filesystem::path& dir) { reindexTable(dir / kJournal, yearTagFields(YearTable::Journal)); },
               {numbersOf(rows)}};
    killThroughout(s, 2);
}

TEST(WholeFileKill, PackLeavesTheOldRowsOrThePackedOnes) {
    const auto rows = movements(kRows, 1);
    std::vector<int> packed;
    for (const auto& row : rows) {
        if (row.nummer % 3 != 0) packed.push_back(row.nummer);
    }
    Scenario s{"pack",
               [&](const std::filesystem::path& dir) {
                   test::makeJournal(dir / kJournal, rows);
                   Cursor table(dir / kJournal, OpenMode::Shared);
                   for (table.first(); !table.eof();) {
                       if (table.asInteger("nummer") % 3 == 0) {
                           table.deleteRecord();
                       } else {
                           table.next();
                       }
                   }
               },
               [](const std::filesystem::path& dir) { packTable(dir / kJournal); },
               {packed}};
    killThroughout(s, 3);
}

// What quendra-db load does: the rows read whole, then the table put in place at once.
void loadJournal(const std::filesystem::path& path, const std::vector<test::Movement>& rows) {
    test::TempDir scratch;
    test::makeJournal(scratch / kJournal, rows, false);
    Cursor source(scratch / kJournal, OpenMode::Shared);
    const DbfHeader header = source.table()->header();
    const std::string bytes(source.table()->rowBytes());
    source.close();
    installTable(path, header, bytes, yearTagFields(YearTable::Journal));
}

TEST(WholeFileKill, LoadOfANewTableLeavesNoTableOrAWholeOne) {
    const auto rows = movements(kRows, 1);
    Scenario s{"load",
               [](const std::filesystem::path&) {},
               [&](const std::filesystem::path& dir) { loadJournal(dir / kJournal, rows); },
               {numbersOf(rows)},
               true};
    killThroughout(s, 4);
}

TEST(WholeFileKill, LoadReplaceLeavesTheOldTableOrTheNew) {
    const auto oldRows = movements(kRows, 1);
    const auto newRows = movements(kRows / 2, 5000);
    Scenario s{"load --replace",
               [&](const std::filesystem::path& dir) { test::makeJournal(dir / kJournal, oldRows); },
               [&](const std::filesystem::path& dir) { loadJournal(dir / kJournal, newRows); },
               {numbersOf(oldRows), numbersOf(newRows)}};
    killThroughout(s, 5);
}

TEST(WholeFileKill, CopyOverAnExistingYearLeavesTheOldTableOrTheCopy) {
    const auto oldRows = movements(kRows / 3, 900);
    const auto sourceRows = movements(kRows, 1);
    Scenario s{"copy",
               [&](const std::filesystem::path& dir) {
                   test::makeJournal(dir / kJournal, oldRows);
                   test::makeJournal(dir / "kr201401.dbf", sourceRows);
               },
               [](const std::filesystem::path& dir) {
                   copyTable(dir / "kr201401.dbf", dir / kJournal, yearTagFields(YearTable::Journal));
               },
               {numbersOf(oldRows), numbersOf(sourceRows)}};
    killThroughout(s, 6);
}

}  // namespace
}  // namespace quendra::storage
