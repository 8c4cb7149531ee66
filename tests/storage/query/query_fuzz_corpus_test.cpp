#include "storage/dbase/error.h"
#include "storage/query/parser.h"

#include "support/fuzz_inputs.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

// The seeds are the queries the program writes: each one parses.
TEST(QueryFuzzCorpus, EverySeedParses) {
    const auto seeds = test::fuzzInputs("corpus", "query");
    ASSERT_FALSE(seeds.empty()) << "no seeds under fuzz/corpus/query";
    for (const auto& file : seeds) EXPECT_NO_THROW(parseQuery(test::fileBytes(file))) << file;
}

// What the fuzzer once tripped on: a statement or a BadQuery, never a crash.
TEST(QueryFuzzCorpus, EveryFindingParsesOrIsRefused) {
    for (const auto& file : test::fuzzInputs("findings", "query")) {
        try {
            parseQuery(test::fileBytes(file));
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::BadQuery) << file;
        }
    }
}

}  // namespace
}  // namespace quendra::storage
