// A table let go with its index in agreement is sealed, so that the next program opens it
// without comparing every key; any change to either file since makes that open compare
// them all again, and so find every stale or damaged index as before.

#include "storage/dbase/error.h"
#include "storage/dbase/index_seals.h"
#include "storage/dbase/open_table.h"
#include "support/file_contents.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace quendra::storage {
namespace {

using test::ymd;

constexpr int kRows = 30;

// The user's cache in a folder of the test's own.
class SealsInATemporaryCache : public ::testing::Test {
protected:
    SealsInATemporaryCache() { ::setenv("XDG_CACHE_HOME", cache.path().c_str(), 1); }
    ~SealsInATemporaryCache() override { ::unsetenv("XDG_CACHE_HOME"); }

    // A journal written here: sealed once its last cursor lets it go.
    std::filesystem::path makeJournal(const std::string& name, const std::string& cod = " A0101") const {
        std::vector<test::Movement> rows;
        for (int n = 1; n <= kRows; ++n) rows.push_back({n, ymd(2015, 4, 1 + n % 28), cod, " C0101", "Riga", 0, 10, 1, 0});
        const std::filesystem::path path = dir / name;
        test::makeJournal(path, rows);
        return path;
    }
    // What another program's first open makes of the table: nothing kept, the seal read.
    static DbError::Kind exclusiveOpen(const std::filesystem::path& path) {
        try {
            const std::unique_ptr<OpenTable> table = OpenTable::load(path, true);
            return table->indexUsable() ? DbError::Kind::BadState : table->indexProblemKind();
        } catch (const DbError& e) {
            return e.kind();
        }
    }

    test::TempDir cache;
    test::TempDir dir;
};

// BadState stands for "opened with a usable index".
TEST_F(SealsInATemporaryCache, AChangeToEitherFileSinceTheSealIsFoundAsWithoutOne) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path& table, const std::filesystem::path& index)> change;
        DbError::Kind open;
    };
    const std::vector<Case> cases = {
        {"nothing", [](const auto&, const auto&) {}, DbError::Kind::BadState},
        {"a tagged field rewritten behind the index", [](const auto& table, const auto&) { test::putField(table, 3, "cod", "Z9999"); },
         DbError::Kind::IndexStale},
        {"the index of another journal of as many rows put in its place",
         [&](const auto&, const auto& index) {
             const std::filesystem::path other = makeJournal("kr201599.dbf", " B0101");
             std::filesystem::copy_file(indexPathFor(other), index, std::filesystem::copy_options::overwrite_existing);
         },
         DbError::Kind::IndexStale},
        {"the index cut short",
         [](const auto&, const auto& index) {
             const std::string bytes = test::readFile(index);
             test::writeFile(index, bytes.substr(0, bytes.size() / 2));
         },
         DbError::Kind::IndexDamaged},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path table = makeJournal("kr2015" + std::to_string(10 + n++) + ".dbf");
        ASSERT_TRUE(recordedSeal(table)) << "written and let go, the table was sealed";
        c.change(table, indexPathFor(table));
        const DbError::Kind open = exclusiveOpen(table);
        if (c.open == DbError::Kind::BadState) {
            EXPECT_EQ(open, c.open);
        } else {
            EXPECT_NE(open, DbError::Kind::BadState) << "the changed index was taken on its seal";
        }
    }
}

TEST_F(SealsInATemporaryCache, AnUnreadableSealFileCostsOnlyTheFullComparison) {
    const std::filesystem::path table = makeJournal("kr201501.dbf");
    test::writeFile(cache / "quendra" / "indici-verificati", "zz yy " + table.string() + "\n\n1 2\n");
    EXPECT_FALSE(recordedSeal(table));
    EXPECT_EQ(exclusiveOpen(table), DbError::Kind::BadState);
    recordSeal(table, {1, 2});
    ASSERT_TRUE(recordedSeal(table));
    EXPECT_EQ(*recordedSeal(table), (IndexSeal{1, 2}));
    EXPECT_EQ(exclusiveOpen(table), DbError::Kind::BadState) << "a seal that fits no file is passed over";
}

}  // namespace
}  // namespace quendra::storage
