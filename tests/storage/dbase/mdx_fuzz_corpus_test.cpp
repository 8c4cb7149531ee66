#include "storage/dbase/error.h"
#include "storage/dbase/mdx_file.h"
#include "support/fuzz_inputs.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quendra::storage;


// Every seed and every input the fuzzer once tripped on, as the fuzz target runs it: an
// index or DbError(IndexDamaged); an index that opens takes a change and reopens equal.
TEST(MdxFuzzCorpus, EveryInputOpensOrIsRefused) {
    auto files = quendra::test::fuzzInputs("corpus", "mdx");
    ASSERT_FALSE(files.empty()) << "no seeds under fuzz/corpus/mdx";
    for (const auto& file : quendra::test::fuzzInputs("findings", "mdx")) files.push_back(file);
    const quendra::test::TempDir dir;
    const std::filesystem::path copy = dir / "INPUT.MDX";
    int opened = 0;
    for (const auto& file : files) {
        std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
        std::vector<std::vector<MdxEntry>> before;
        try {
            const auto mdx = MdxFile::open(copy);
            for (std::size_t t = 0; t < mdx->tagCount(); ++t) before.push_back(mdx->entries(t));
            for (std::size_t t = 0; t < mdx->tagCount(); ++t) {
                if (before[t].empty()) continue;
                mdx->erase(t, 0);
                mdx->insert(t, 0, before[t][0].key, before[t][0].recno);
            }
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::IndexDamaged) << file << ": " << e.what();
            EXPECT_TRUE(before.empty()) << file << ": a change failed: " << e.what();
            continue;
        }
        ++opened;
        const auto again = MdxFile::open(copy);
        ASSERT_EQ(again->tagCount(), before.size()) << file;
        for (std::size_t t = 0; t < before.size(); ++t) {
            const auto entries = again->entries(t);
            ASSERT_EQ(entries.size(), before[t].size()) << file;
            for (std::size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(entries[i].key, before[t][i].key) << file;
                EXPECT_EQ(entries[i].recno, before[t][i].recno) << file;
            }
        }
    }
    EXPECT_GT(opened, 0) << "no seed is a valid index";
}
