#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "support/child_process.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <random>

namespace quendra::storage {
namespace {

using test::Child;
using test::ymd;

DbError::Kind openFailure(const std::filesystem::path& path, OpenMode mode) {
    try {
        Cursor c(path, mode);
    } catch (const DbError& e) {
        return e.kind();
    }
    return DbError::Kind::Io;
}

TEST(ProcessSafety, AnotherProcessHoldingTheTableBlocksExclusiveOpens) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, {{1, ymd(2015, 1, 1), " A0101", " C0101", "x", 0, 1, 1, 0}});
    for (const OpenMode childMode : {OpenMode::Shared, OpenMode::Exclusive}) {
        Child child([&](Child& self) {
            Cursor held(path, childMode);
            self.tell(1);
            self.waitForParent();
        });
        std::uint32_t ready = 0;
        ASSERT_TRUE(child.hear(ready));
        EXPECT_EQ(openFailure(path, OpenMode::Exclusive), DbError::Kind::Locked);
        if (childMode == OpenMode::Shared) {
            EXPECT_NO_THROW(Cursor(path, OpenMode::Shared)) << "shared opens share";
        } else {
            EXPECT_EQ(openFailure(path, OpenMode::Shared), DbError::Kind::Locked);
        }
        child.release();
        EXPECT_EQ(child.join(), 0);
        EXPECT_NO_THROW(Cursor(path, OpenMode::Exclusive)) << "the lock ends with the process";
    }
}

// The rows a sequence of operations leaves, replayed by the parent.
struct ModelRow {
    int nummer;
    std::string cod;
    bool deleted = false;
};

std::string codeFor(std::uint32_t i) {
    const char* classes = "AECP";
    char code[32];
    std::snprintf(code, sizeof code, " %c%02u%02u", classes[i % 4], (i / 4) % 20 + 1, i % 50 + 1);
    return code;
}

constexpr std::uint32_t kInitialRows = 60;

// Operation i on the table: append, change a key, or delete.
void applyToModel(std::vector<ModelRow>& rows, std::uint32_t i) {
    const std::size_t target = (i * 7919u) % rows.size();
    switch (i % 3) {
        case 0: rows.push_back({int(1000 + i), codeFor(i)}); break;
        case 1: if (!rows[target].deleted) rows[target].cod = codeFor(i * 31); break;
        default: rows[target].deleted = true;
    }
}

void applyToTable(Cursor& table, std::size_t rowCount, std::uint32_t i) {
    const auto target = std::uint32_t((i * 7919u) % rowCount + 1);
    switch (i % 3) {
        case 0:
            test::appendMovement(table, {int(1000 + i), ymd(2015, 1 + int(i % 12), 1 + int(i % 28)), codeFor(i),
                                         " C0101", "Movimento " + std::to_string(i), 0, i * 0.25, 1, 0});
            break;
        case 1:
            if (table.gotoRecord(target)) {
                table.edit();
                table.setText("cod", codeFor(i * 31));
                table.post();
            }
            break;
        default:
            if (table.gotoRecord(target)) table.deleteRecord();
    }
}

std::vector<std::pair<int, std::string>> visibleRows(const std::vector<ModelRow>& rows) {
    std::vector<std::pair<int, std::string>> out;
    for (const ModelRow& r : rows) {
        if (!r.deleted) out.emplace_back(r.nummer, r.cod);
    }
    return out;
}

std::vector<std::pair<int, std::string>> visibleRows(const std::filesystem::path& path) {
    Cursor c(path, OpenMode::Shared);
    std::vector<std::pair<int, std::string>> out;
    for (c.first(); !c.eof(); c.next()) out.emplace_back(int(c.asInteger("nummer")), c.asText("cod"));
    return out;
}

TEST(ProcessSafety, AKilledWriterLosesAtMostThePostInFlight) {
    std::mt19937 random(20150101);
    int staleIndexes = 0;
    for (int round = 0; round < 25; ++round) {
        test::TempDir dir;
        const auto path = dir / "kr201501.dbf";
        std::vector<test::Movement> initial;
        std::vector<ModelRow> model;
        for (std::uint32_t i = 0; i < kInitialRows; ++i) {
            initial.push_back({int(i + 1), ymd(2015, 1, 1), codeFor(i + 500), " C0101", "Iniziale", 0, 1, 1, 0});
            model.push_back({int(i + 1), codeFor(i + 500)});
        }
        test::makeJournal(path, initial);

        Child child([&](Child& self) {
            Cursor table(path, OpenMode::Shared);
            table.setOrder("cod");
            std::size_t rows = kInitialRows;
            for (std::uint32_t i = 0;; ++i) {
                applyToTable(table, rows, i);
                if (i % 3 == 0) ++rows;
                self.tell(i);
            }
        });
        const std::uint32_t killAfter = std::uniform_int_distribution<std::uint32_t>(1, 400)(random);
        std::uint32_t acked = 0, value = 0;
        while (acked < killAfter && child.hear(value)) ++acked;
        child.killNow();
        while (child.hear(value)) ++acked;  // acknowledgements already in the pipe

        if (openFailure(path, OpenMode::Exclusive) != DbError::Kind::Io) {
            ++staleIndexes;
            reindexTable(path);
        }
        ASSERT_TRUE(checkTable(path).empty()) << "round " << round;
        const auto actual = visibleRows(path);
        std::vector<ModelRow> expected = model;
        for (std::uint32_t i = 0; i < acked; ++i) applyToModel(expected, i);
        if (actual != visibleRows(expected)) {
            applyToModel(expected, acked);  // the post in flight may have landed
            ASSERT_EQ(actual, visibleRows(expected)) << "round " << round << " after " << acked << " posts";
        }
    }
    RecordProperty("stale_indexes_rebuilt", staleIndexes);
}

}  // namespace
}  // namespace quendra::storage
