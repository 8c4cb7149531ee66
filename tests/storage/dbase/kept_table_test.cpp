// A table closed and opened again in the same program is read again exactly when its
// files changed in between, whoever changed them and however little.

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/open_table.h"
#include "storage/query/query.h"
#include "support/file_contents.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace quendra::storage {
namespace {

using test::ymd;

constexpr int kRows = 40;

// A journal of kRows movements of 10.00 each, read once and let go, so that the next open
// may take back the kept table.
struct Journal {
    Journal() {
        std::vector<test::Movement> rows;
        for (int n = 1; n <= kRows; ++n) rows.push_back({n, ymd(2015, 4, 1 + n % 28), " A0101", " C0101", "Riga", 0, 10, 1, 0});
        test::makeJournal(path, rows);
        Cursor(path, OpenMode::Exclusive).recordCount();
    }
    double spent() const { return runSelect("select sum(ausgabe) from \"" + path.string() + "\"")->asNumber(std::size_t(0)); }
    std::uint64_t versionOnOpen() const { return Cursor(path, OpenMode::Shared).table()->version(); }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201501.dbf";
    std::filesystem::path index = dir / "kr201501.mdx";
};

TEST(KeptTable, AnUnchangedTableIsNotReadAgain) {
    const Journal journal;
    const Cursor shared(journal.path, OpenMode::Shared);
    EXPECT_GT(shared.table()->version(), 1u) << "the exclusive open's rows and tags were taken back";
    EXPECT_TRUE(shared.table()->indexUsable());
    EXPECT_EQ(shared.recordCount(), std::size_t(kRows));
}

TEST(KeptTable, EveryChangeToEitherFileIsSeenOnTheNextOpen) {
    struct Case {
        const char* what;
        std::function<void(const Journal&)> change;
        double spent;        // what the rows say after the change
        std::optional<DbError::Kind> refusal;  // an exclusive open's, if the index no longer serves
    };
    const std::vector<Case> cases = {
        {"an amount rewritten in place, same size", [](const Journal& j) { test::putField(j.path, 7, "ausgabe", "99.00"); },
         10.0 * kRows + 89, std::nullopt},
        {"a tagged field rewritten behind the index", [](const Journal& j) { test::putField(j.path, 3, "cod", "Z9999"); },
         10.0 * kRows, DbError::Kind::IndexStale},
        {"the header's date changed, rows alike",
         [](const Journal& j) {
             std::string bytes = test::readFile(j.path);
             bytes.replace(1, 3, "\x7b\x01\x01");
             test::writeFile(j.path, bytes);
         },
         10.0 * kRows, std::nullopt},
        {"the index removed", [](const Journal& j) { std::filesystem::remove(j.index); }, 10.0 * kRows,
         DbError::Kind::IndexMissing},
        {"the index cut short",
         [](const Journal& j) {
             const std::string bytes = test::readFile(j.index);
             test::writeFile(j.index, bytes.substr(0, bytes.size() / 2));
         },
         10.0 * kRows, DbError::Kind::IndexDamaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Journal journal;
        c.change(journal);
        EXPECT_EQ(journal.versionOnOpen(), 1u) << "the changed file was not read again";
        EXPECT_DOUBLE_EQ(journal.spent(), c.spent);
        try {
            const Cursor exclusive(journal.path, OpenMode::Exclusive);
            EXPECT_FALSE(c.refusal) << "the changed index was taken as it was";
        } catch (const DbError& error) {
            EXPECT_EQ(error.kind(), c.refusal.value_or(DbError::Kind::Locked)) << error.what();
        }
    }
}

// Let go, a table written here is loaded anew from its files and checked key by key.
TEST(KeptTable, ATableWrittenHereIsTheFileItWroteNextTime) {
    const Journal journal;
    {
        Cursor shared(journal.path, OpenMode::Shared);
        test::appendMovement(shared, {kRows + 1, ymd(2015, 5, 2), " A0101", " C0101", "Luce", 0, 5, 1, 0});
    }
    const Cursor again(journal.path, OpenMode::Exclusive);
    EXPECT_TRUE(again.table()->indexUsable());
    EXPECT_EQ(again.recordCount(), std::size_t(kRows + 1));
    EXPECT_EQ(again.table()->rowBytes(), test::readFile(journal.path).substr(again.table()->header().headerLength,
                                                                           again.table()->rowBytes().size()));
}

TEST(KeptTable, AVanishedTableIsMissingAsOnAFirstOpen) {
    const Journal journal;
    std::filesystem::remove(journal.path);
    const auto failure = [](const std::filesystem::path& path) {
        try {
            Cursor(path, OpenMode::Shared);
        } catch (const DbError& e) {
            return std::make_pair(e.kind(), std::string(e.what()));
        }
        return std::make_pair(DbError::Kind::BadState, std::string());
    };
    const test::TempDir never;
    EXPECT_EQ(failure(journal.path), failure(never / "kr201501.dbf")) << "kept or not, the same message";
}

}  // namespace
}  // namespace quendra::storage
