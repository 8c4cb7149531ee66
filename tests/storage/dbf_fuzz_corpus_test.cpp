#include "storage/db_error.h"
#include "storage/dbf_header.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace quendra::storage;

namespace {

std::vector<std::filesystem::path> filesUnder(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(dir)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

}  // namespace

// Every seed and every input the fuzzer once tripped on: a header or a DbError.
TEST(DbfFuzzCorpus, EveryInputParsesOrIsRefused) {
    const std::filesystem::path root = QUENDRA_SOURCE_DIR "/fuzz";
    auto files = filesUnder(root / "corpus" / "dbf");
    ASSERT_FALSE(files.empty()) << "no seeds under fuzz/corpus/dbf";
    for (const auto& file : filesUnder(root / "findings" / "dbf")) files.push_back(file);
    int parsed = 0;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        try {
            DbfHeader::parse(bytes, bytes.size(), file.filename().string());
            ++parsed;
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::BadFile) << file;
        }
    }
    EXPECT_GT(parsed, 0) << "no seed is a valid table";
}
