#include "storage/dbase/cursor.h"
#include "storage/dbase/table_check.h"
#include "support/dbfread_reader.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace quendra::storage {
namespace {

struct Row {
    int nummer;
    std::string cod;
    Date datum;
    double ausgabe;
    bool deleted = false;
};

// Every tag walked through a cursor must give the model's rows sorted by that key, with
// equal keys in record order.
void expectTagsMatch(Cursor& c, const std::vector<Row>& model) {
    auto expectOrder = [&](const char* tag, auto keyOf) {
        std::vector<std::uint32_t> expected;
        for (std::uint32_t r = 1; r <= model.size(); ++r) {
            if (!model[r - 1].deleted) expected.push_back(r);
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return keyOf(model[a - 1]) < keyOf(model[b - 1]); });
        c.setOrder(tag);
        std::vector<std::uint32_t> actual;
        for (c.first(); !c.eof(); c.next()) actual.push_back(c.recordNumber());
        ASSERT_EQ(actual, expected) << "tag " << tag;
    };
    expectOrder("nummer", [](const Row& r) { return r.nummer; });
    expectOrder("cod", [](const Row& r) { return r.cod; });
    expectOrder("datum", [](const Row& r) { return r.datum; });
    for (std::uint32_t r = 1; r <= model.size(); ++r) {
        if (model[r - 1].deleted) continue;
        ASSERT_TRUE(c.gotoRecord(r));
        ASSERT_EQ(c.asText("cod"), model[r - 1].cod);
        ASSERT_DOUBLE_EQ(c.asNumber("ausgabe"), model[r - 1].ausgabe);
    }
}

TEST(RandomModel, ThousandsOfChangesKeepEveryTagRightOnDiskAndInMemory) {
    test::TempDir dir;
    const auto path = dir / "kr201501.dbf";
    test::makeJournal(path, {});
    std::mt19937 random(4242);
    std::vector<Row> model;
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto randomCode = [&] {
        char code[32];
        std::snprintf(code, sizeof code, " %c%02d%02d", "AECP"[pick(4)], pick(12) + 1, pick(6) + 1);
        return std::string(code);
    };
    for (int batch = 0; batch < 16; ++batch) {
        {
            Cursor c(path, OpenMode::Exclusive);
            c.setOrder(batch % 2 ? "cod" : "datum");  // cursors on a tag see their own writes move
            for (int op = 0; op < 400; ++op) {
                const int choice = model.empty() ? 0 : pick(10);
                if (choice < 5) {
                    Row row {pick(300), randomCode(), Date::fromYmd(2015, pick(12) + 1, pick(28) + 1), pick(100000) / 100.0};
                    test::appendMovement(c, {row.nummer, row.datum, row.cod, " C0101", "r", 0, row.ausgabe, 1, 0});
                    model.push_back(row);
                    continue;
                }
                const auto recno = std::uint32_t(pick(int(model.size())) + 1);
                Row& row = model[recno - 1];
                if (!c.gotoRecord(recno)) {
                    ASSERT_TRUE(row.deleted);
                    if (choice == 9) {
                        c.recall(recno);
                        row.deleted = false;
                    }
                    continue;
                }
                if (choice < 8) {
                    c.edit();
                    row.cod = randomCode();
                    c.setText("cod", row.cod);
                    if (choice == 7) {
                        row.datum = Date::fromYmd(2015, pick(12) + 1, pick(28) + 1);
                        c.setDate("datum", row.datum);
                    }
                    row.ausgabe = pick(100000) / 100.0;
                    c.setNumber("ausgabe", row.ausgabe);
                    c.post();
                } else {
                    c.deleteRecord();
                    row.deleted = true;
                }
            }
            expectTagsMatch(c, model);
        }
        ASSERT_EQ(checkTable(path), std::vector<std::string>{}) << "batch " << batch;
        Cursor reopened(path, OpenMode::Exclusive);
        expectTagsMatch(reopened, model);
    }
    // Another reader sees the same live rows.
    if (!test::dbfreadAvailable()) GTEST_SKIP() << "/usr/bin/python3 has no dbfread (python3-dbfread)";
    const test::DbfreadTable read = test::readWithDbfread(path);
    std::vector<std::string> expected, actual;
    for (const Row& row : model) {
        if (!row.deleted) expected.push_back(row.cod);
    }
    for (const test::JsonValue& record : read.records) actual.push_back(record["COD"].text);
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace quendra::storage
