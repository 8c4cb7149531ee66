#include "storage/year_files.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace quendra::storage {
namespace {

using test::TempDir;

void touch(const TempDir& dir, std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        std::ofstream(dir / name).put('\n');
    }
}

TEST(YearFiles, NamesOfAYear) {
    EXPECT_EQ(yearNumber(2015, 1), "201501");
    EXPECT_EQ(yearNumber(2015, 10), "201510");
    EXPECT_EQ(yearFileName(YearTable::Journal, "201501"), "kr201501.dbf");
    EXPECT_EQ(yearFileName(YearTable::Chart, "201501"), "kw201501.dbf");
    EXPECT_EQ(chartNameOfJournal("KR201501.DBF"), "kw201501.DBF");
    EXPECT_EQ(chartNameOfJournal("Kr201502.dbf"), "kw201502.dbf");
    EXPECT_EQ(indexFileName("KR201501.dbf"), "KR201501.mdx");
    EXPECT_EQ(indexFileName("kw000000.dbf"), "kw000000.mdx");
}

TEST(YearFiles, ImpossibleYearNumbersAreRefused) {
    EXPECT_THROW(yearNumber(2015, 0), YearFileError);
    EXPECT_THROW(yearNumber(2015, 100), YearFileError);
    EXPECT_THROW(yearNumber(0, 1), YearFileError);
    EXPECT_THROW(yearNumber(10000, 1), YearFileError);
}

TEST(YearFiles, YearNumberOfAFileName) {
    EXPECT_EQ(yearNumberOf("Kr201501.DBF"), "201501");
    EXPECT_EQ(yearNumberOf("kw201502.dbf"), "201502");
    EXPECT_FALSE(yearNumberOf("kr2015.dbf"));
    EXPECT_FALSE(yearNumberOf("kr20150a.dbf"));
    EXPECT_FALSE(yearNumberOf("kr201501.mdx"));
    EXPECT_TRUE(isJournalTemplate("KR000000.DBF"));
    EXPECT_TRUE(isJournalTemplate("kr000000.dbf"));
    EXPECT_FALSE(isJournalTemplate("kw000000.dbf"));
}

TEST(YearFiles, ListsJournalsInAnyCaseWithoutTemplateOrOtherFiles) {
    TempDir dir;
    touch(dir, {"Kr201501.DBF", "kr201502.dbf", "KR000000.dbf", "kw201501.dbf", "kr201501.mdx", "krnotes.dbf",
                "temp.dbf", "tovald.INI"});
    std::filesystem::create_directory(dir / "kr209901.dbf");
    EXPECT_EQ(listJournals(dir.path()), (std::vector<std::string>{"Kr201501.DBF", "kr201502.dbf"}));
    EXPECT_TRUE(listJournals(dir / "missing").empty());
}

TEST(YearFiles, RunningNumbersCountUpPerYear) {
    TempDir dir;
    EXPECT_EQ(nextYearNumber(dir.path(), 2015), "201501");
    touch(dir, {"kr201501.dbf", "KR201502.DBF"});
    EXPECT_EQ(nextYearNumber(dir.path(), 2015), "201503");
    EXPECT_EQ(nextYearNumber(dir.path(), 2016), "201601");
}

TEST(YearFiles, RunningNumberAfterNineIsTenAndGapsAreNotRefilled) {
    TempDir dir;
    touch(dir, {"kr201501.dbf", "kr201509.dbf"});
    EXPECT_EQ(nextYearNumber(dir.path(), 2015), "201510");
}

TEST(YearFiles, HundredthFileOfAYearIsRefused) {
    TempDir dir;
    touch(dir, {"kr201599.dbf"});
    try {
        nextYearNumber(dir.path(), 2015);
        FAIL() << "a 100th file was numbered";
    } catch (const YearFileError& e) {
        EXPECT_STREQ(e.what(), "L'anno 2015 ha già 99 esercizi: non è possibile crearne un altro.");
    }
    EXPECT_EQ(nextYearNumber(dir.path(), 2014), "201401");
}

TEST(YearFiles, ResolvesNamesCaseBlind) {
    TempDir dir;
    touch(dir, {"KR201501.DBF", "kr201502.dbf", "Kr201502.dbf"});
    EXPECT_EQ(resolveCaseBlind(dir.path(), "Kr201501.dbf"), dir / "KR201501.DBF");
    EXPECT_EQ(resolveCaseBlind(dir.path(), "Kr201502.dbf"), dir / "Kr201502.dbf");  // exact spelling first
    EXPECT_EQ(resolveCaseBlind(dir.path(), "kr201601.dbf"), dir / "kr201601.dbf");
}

TEST(YearFiles, DataDirectoryBelowTheProgramDirectory) {
    EXPECT_EQ(dataDirectory("/opt/quendra"), std::filesystem::path("/opt/quendra/krw/"));
}

}  // namespace
}  // namespace quendra::storage
