#include "storage/dbase/error.h"
#include "storage/dbase/dbf_header.h"

#include "support/fuzz_inputs.h"

#include <gtest/gtest.h>

using namespace quendra::storage;


// Every seed and every input the fuzzer once tripped on: a header or a DbError.
TEST(DbfFuzzCorpus, EveryInputParsesOrIsRefused) {
    auto files = quendra::test::fuzzInputs("corpus", "dbf");
    ASSERT_FALSE(files.empty()) << "no seeds under fuzz/corpus/dbf";
    for (const auto& file : quendra::test::fuzzInputs("findings", "dbf")) files.push_back(file);
    int parsed = 0;
    for (const auto& file : files) {
        const std::string bytes = quendra::test::fileBytes(file);
        try {
            DbfHeader::parse(bytes, bytes.size(), file.filename().string());
            ++parsed;
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::BadFile) << file;
        }
    }
    EXPECT_GT(parsed, 0) << "no seed is a valid table";
}
