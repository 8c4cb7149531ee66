#include "storage/index_repair.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/text_case.h"

#include "support/chart_fixture.h"
#include "support/dbfread_reader.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace quendra::storage {
namespace {

using test::makeJournal;
using test::TempDir;
using test::ymd;

const std::vector<test::Movement> kMovements = {
    {3, ymd(2015, 3, 1), " A0101", " C0101", "Offerta", 0, 20, 1, 0},
    {1, ymd(2015, 1, 9), " E0201", " C0201", "Colletta", 55.5, 0, 2, 0},
    {2, ymd(2015, 2, 2), " A0701", " C0101", "Luce", 0, 12.3, 1, 0},
};

char indexFlag(const std::filesystem::path& table) {
    std::ifstream in(table, std::ios::binary);
    in.seekg(28);
    return static_cast<char>(in.get());
}

std::vector<std::string> tagsOf(const std::filesystem::path& table) {
    Cursor cursor(table, OpenMode::Exclusive);
    std::vector<std::string> names;
    for (const std::string& name : cursor.tagNames()) {
        names.push_back(toUpperUtf8(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<long long> numbersInOrder(const std::filesystem::path& table, std::string_view order) {
    Cursor cursor(table, OpenMode::Shared);
    cursor.setOrder(order);
    std::vector<long long> numbers;
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        numbers.push_back(cursor.asInteger("Nummer"));
    }
    return numbers;
}

std::vector<std::string> indexFilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (toUpperUtf8(name).ends_with(".MDX")) {
            names.push_back(name);
        }
    }
    return names;
}

// The fields whose descriptor announces a tag, as another dBase reader sees them.
std::vector<std::string> flaggedFields(const test::DbfreadTable& read) {
    std::vector<std::string> flagged;
    for (const test::JsonValue& field : read.facts["fields"].items) {
        if (field["index_field_flag"].number == 1) {
            flagged.push_back(field["name"].text);
        }
    }
    return flagged;
}

TEST(IndexRepair, MissingFileIsReportedWithTheReinstallMessage) {
    TempDir dir;
    try {
        indexreparatur(YearTable::Journal, dir.path(), "kr201501.dbf");
        FAIL() << "no error for a missing file";
    } catch (const MissingYearFile& missing) {
        EXPECT_EQ(missing.fileName(), "kr201501.dbf");
        ServerSettings server;
        server.webAddress = "https://www.velmora.example";
        EXPECT_EQ(missingYearFileMessage(missing.fileName(), server),
                  "Manca il file \"KR201501.DBF\". - Devi riinstallare il programma dal sito internet: \n"
                  "https://www.velmora.example/upload/amministrazione/vwi.htm\n\n"
                  "Il programma adesse viene chiuso");
        // Without a configured server the message still reads sensibly.
        const std::string unconfigured = missingYearFileMessage(missing.fileName(), ServerSettings());
        EXPECT_NE(unconfigured.find("non configurato"), std::string::npos);
        EXPECT_EQ(std::string(missing.what()), unconfigured);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(IndexRepair, LostJournalIndexIsRebuiltWithExactlyItsFourTags) {
    TempDir dir;
    const auto table = dir / "kr201501.dbf";
    makeJournal(table, kMovements);
    std::filesystem::remove(dir / "kr201501.mdx");
    ASSERT_EQ(indexFlag(table), 1);
    try {
        Cursor(table, OpenMode::Exclusive);
        FAIL() << "a table whose index is lost opened exclusively";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.curedByRepair()) << e.what();
    }

    indexreparatur(YearTable::Journal, dir.path(), "kr201501.dbf");

    EXPECT_EQ(tagsOf(table), (std::vector<std::string>{"COD", "CODD", "DATUM", "NUMMER"}));
    EXPECT_EQ(indexFilesIn(dir.path()), std::vector<std::string>{"kr201501.mdx"});
    // The new index is the table's production index again.
    EXPECT_EQ(indexFlag(table), 1);
    EXPECT_EQ(numbersInOrder(table, "Nummer"), (std::vector<long long>{1, 2, 3}));
    EXPECT_EQ(numbersInOrder(table, "Datum"), (std::vector<long long>{1, 2, 3}));

    if (!test::dbfreadAvailable()) GTEST_SKIP() << "dbfread is not installed";
    const test::DbfreadTable read = test::readWithDbfread(table);
    EXPECT_EQ(read.facts["mdx_flag"].number, 1);
    EXPECT_EQ(read.records.size(), 3u);
    EXPECT_EQ(flaggedFields(read), (std::vector<std::string>{"NUMMER", "DATUM", "COD", "CODD"}));
}

TEST(IndexRepair, DamagedIndexWithForeignTagsIsReplaced) {
    TempDir dir;
    const auto table = dir / "kr201501.dbf";
    makeJournal(table, kMovements, false);
    {
        Cursor cursor(table, OpenMode::Exclusive);
        cursor.addTag("text", "text");
        cursor.addTag("nummer", "Nummer");
    }
    indexreparatur(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_EQ(tagsOf(table), (std::vector<std::string>{"COD", "CODD", "DATUM", "NUMMER"}));

    std::ofstream(dir / "kr201501.mdx", std::ios::binary | std::ios::trunc) << std::string(3000, 'x');
    indexreparatur(YearTable::Journal, dir.path(), "kr201501.dbf");
    EXPECT_EQ(tagsOf(table), (std::vector<std::string>{"COD", "CODD", "DATUM", "NUMMER"}));
    EXPECT_EQ(numbersInOrder(table, "cod"), (std::vector<long long>{3, 2, 1}));

    if (!test::dbfreadAvailable()) GTEST_SKIP() << "dbfread is not installed";
    EXPECT_EQ(flaggedFields(test::readWithDbfread(table)), (std::vector<std::string>{"NUMMER", "DATUM", "COD", "CODD"}));
}

TEST(IndexRepair, ChartGetsCodAndK) {
    TempDir dir;
    const auto table = dir / "kw201501.dbf";
    test::makeChart(table, {{"  PFAR", "Parrocchia", "Luogo", "Decanato", "", "", "", "", ""}, {"TA", "Uscite", "", "Uscite", "", "10", "", "", ""},
                            {" A0101", "Quota", "Clero", "Uscite", "", "", "", "", ""}});
    std::filesystem::remove(dir / "kw201501.mdx");
    indexreparatur(YearTable::Chart, dir.path(), "kw201501.dbf");
    EXPECT_EQ(tagsOf(table), (std::vector<std::string>{"COD", "K"}));
    Cursor cursor(table, OpenMode::Shared);
    cursor.setOrder("cod");
    EXPECT_TRUE(cursor.findKey(std::string(" A0101")));
    cursor.first();
    EXPECT_EQ(cursor.asText("COD"), "  PFAR");
}

TEST(IndexRepair, NamesAreFoundWithoutRegardToCase) {
    TempDir dir;
    makeJournal(dir / "KR201501.DBF", kMovements);
    // An index of another spelling beside it, as other programs leave them.
    const std::vector<std::string> made = indexFilesIn(dir.path());
    ASSERT_EQ(made.size(), 1u);
    std::filesystem::copy_file(dir / made.front(), dir / "kr201501.Mdx");

    indexreparatur(YearTable::Journal, dir.path(), "Kr201501.dbf");

    EXPECT_FALSE(std::filesystem::exists(dir / "Kr201501.dbf"));
    EXPECT_EQ(indexFilesIn(dir.path()).size(), 1u);
    EXPECT_EQ(tagsOf(dir / "KR201501.DBF"), (std::vector<std::string>{"COD", "CODD", "DATUM", "NUMMER"}));
}

TEST(IndexRepair, TableInUseIsLeftAlone) {
    TempDir dir;
    const auto table = dir / "kr201501.dbf";
    makeJournal(table, kMovements);
    const auto indexBefore = std::filesystem::last_write_time(dir / "kr201501.mdx");
    Cursor holder(table, OpenMode::Shared);
    try {
        indexreparatur(YearTable::Journal, dir.path(), "kr201501.dbf");
        FAIL() << "a table in use was repaired";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Locked);
    }
    EXPECT_EQ(indexFlag(table), 1);
    EXPECT_EQ(std::filesystem::last_write_time(dir / "kr201501.mdx"), indexBefore);
    holder.close();
    EXPECT_EQ(numbersInOrder(table, "Nummer"), (std::vector<long long>{1, 2, 3}));
}

TEST(IndexRepair, TableLockedByAnotherProgramIsLeftAlone) {
    TempDir dir;
    const auto table = dir / "kr201501.dbf";
    makeJournal(table, kMovements);
    // A lock of its own on the file stands for another process holding the table.
    const FileHandle otherProgram(table, FileHandle::Lock::Shared);
    try {
        indexreparatur(YearTable::Journal, dir.path(), "kr201501.dbf");
        FAIL() << "a locked table was repaired";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Locked);
    }
    EXPECT_EQ(indexFlag(table), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "kr201501.mdx"));
}

TEST(IndexRepair, FileThatIsNoTableIsAnErrorNotAMissingFile) {
    TempDir dir;
    std::ofstream(dir / "kr201501.dbf") << "no table";
    EXPECT_THROW(indexreparatur(YearTable::Journal, dir.path(), "kr201501.dbf"), DbError);
    // The short file was not lengthened by the flag write.
    EXPECT_EQ(std::filesystem::file_size(dir / "kr201501.dbf"), 8u);
}

}  // namespace
}  // namespace quendra::storage
