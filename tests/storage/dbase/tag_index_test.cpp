// The tag in memory against a plain sorted vector, through the shapes a year's tags go
// through: bulk loads, appends at the end, edits in the middle, and erasing whole stretches.
#include "storage/dbase/tag_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>

namespace quendra::storage {
namespace {

using Entry = TagIndex::Entry;

bool before(const Entry& a, const Entry& b) { return entryLess(a.key, a.recno, b.key, b.recno); }

void expectSame(const TagIndex& tag, const std::vector<Entry>& model, std::mt19937& random) {
    ASSERT_EQ(tag.size(), model.size());
    for (std::size_t pos = 0; pos < model.size(); ++pos) {
        ASSERT_EQ(tag.recnoAt(pos), model[pos].recno) << pos;
        ASSERT_EQ(tag.sortKeyAt(pos), model[pos].key) << pos;
    }
    for (int probe = 0; probe < 200; ++probe) {
        const std::string key(1, char('a' + random() % 26));
        const auto lower = std::lower_bound(model.begin(), model.end(), Entry{key, 0}, before);
        const auto upper = std::upper_bound(model.begin(), model.end(), Entry{key, UINT32_MAX}, before);
        ASSERT_EQ(tag.lowerBound(key), std::size_t(lower - model.begin())) << key;
        ASSERT_EQ(tag.upperBound(key), std::size_t(upper - model.begin())) << key;
    }
}

struct Shape {
    const char* name;
    std::size_t loaded;  // entries loaded in bulk
    int changes;
    int insertPercent;   // the rest erase
    bool atTheEnd;       // inserts of ever larger keys, as a year's numbers grow
};

// ctest lists a shape by its name, not by its bytes.
void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name; }

class TagIndexShapes : public ::testing::TestWithParam<Shape> {};

TEST_P(TagIndexShapes, AgreesWithASortedVectorAfterEveryStretchOfChanges) {
    const Shape shape = GetParam();
    std::mt19937 random(7);
    std::vector<Entry> model;
    std::uint32_t nextRecno = 1;
    auto randomKey = [&] { return std::string(1, char('a' + random() % 26)) + char('a' + random() % 26); };
    for (std::size_t i = 0; i < shape.loaded; ++i) model.push_back({randomKey(), nextRecno++});
    std::sort(model.begin(), model.end(), before);
    TagIndex tag({}, 0, model);
    expectSame(tag, model, random);
    for (int change = 1; change <= shape.changes; ++change) {
        if (model.empty() || int(random() % 100) < shape.insertPercent) {
            Entry entry{shape.atTheEnd ? "z" + std::to_string(100000 + change) : randomKey(), nextRecno++};
            const auto at = std::lower_bound(model.begin(), model.end(), entry, before);
            const std::size_t pos = std::size_t(at - model.begin());
            ASSERT_EQ(tag.lowerBound(entry.key, entry.recno), pos);
            model.insert(at, entry);
            tag.insertAt(pos, entry);
        } else {
            const std::size_t pos = random() % model.size();
            model.erase(model.begin() + std::ptrdiff_t(pos));
            tag.eraseAt(pos);
        }
        if (change % 1000 == 0) expectSame(tag, model, random);
    }
    expectSame(tag, model, random);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TagIndexShapes,
    ::testing::Values(Shape{"GrowsFromNothing", 0, 6000, 100, false}, Shape{"AppendsAtTheEnd", 3000, 6000, 100, true},
                      Shape{"EditsInTheMiddle", 5000, 8000, 50, false}, Shape{"ShrinksToNothing", 4000, 4000, 0, false},
                      Shape{"MostlyErases", 6000, 6000, 20, false}),
    [](const ::testing::TestParamInfo<Shape>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quendra::storage
