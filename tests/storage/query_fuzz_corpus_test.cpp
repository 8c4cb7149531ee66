#include "storage/db_error.h"
#include "storage/query_parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quendra::storage {
namespace {

std::vector<std::filesystem::path> filesUnder(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(dir)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The seeds are the queries the program writes: each one parses.
TEST(QueryFuzzCorpus, EverySeedParses) {
    const auto seeds = filesUnder(QUENDRA_SOURCE_DIR "/fuzz/corpus/query");
    ASSERT_FALSE(seeds.empty()) << "no seeds under fuzz/corpus/query";
    for (const auto& file : seeds) EXPECT_NO_THROW(parseQuery(contents(file))) << file;
}

// What the fuzzer once tripped on: a statement or a BadQuery, never a crash.
TEST(QueryFuzzCorpus, EveryFindingParsesOrIsRefused) {
    for (const auto& file : filesUnder(QUENDRA_SOURCE_DIR "/fuzz/findings/query")) {
        try {
            parseQuery(contents(file));
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::BadQuery) << file;
        }
    }
}

}  // namespace
}  // namespace quendra::storage
