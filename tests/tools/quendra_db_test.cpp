// The maintenance tool end to end, through its binary, on real files.

#include "storage/dbase/cursor.h"
#include "support/file_contents.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace quendra::tools {
namespace {

using test::ProgramResult;

ProgramResult tool(const std::vector<std::string>& args, std::string_view input = {}) {
    return test::runProgram(QUENDRA_DB_TOOL, args, input);
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

const char* const kSpec = "Nummer:N:6:0,Datum:D,cod:C:6,text:C:40,Betrag:N:12:2,ok:L";
const std::string kHeader = "NUMMER,DATUM,COD,TEXT,BETRAG,OK\r\n";
// Physical order 10, 2, 33, 1, 7: no tag walks the rows in this order.
const std::string kRow10 = "10,2024-03-01, A0101,\"Offerte, domenica\",125.50,T\r\n";
const std::string kRow2 = "2,2024-01-15,HE0500,\"Il \"\"Gloria\"\" cantato\",-3.20,F\r\n";
const std::string kRow33 = "33,,ZZ0001,\"due, righe\",0.00,\r\n";
const std::string kRow1 = "1,2023-12-31, C0101,Caffè e città €,1234567.89,T\r\n";
const std::string kRow7 = "7,2024-01-15,HE0500,,,\r\n";
const std::string kCsv = kHeader + kRow10 + kRow2 + kRow33 + kRow1 + kRow7;

std::string withFlags(const std::string& row, bool deleted) { return (deleted ? "1," : "0,") + row; }

class QuendraDbTest : public testing::Test {
protected:
    void loadSample() {
        const ProgramResult run = tool({"load", table_.string(), "--fields", kSpec, "--tag", "nummer=Nummer", "--tag",
                                        "cod=cod", "--tag", "datum=Datum"},
                                       kCsv);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(run.err, "");
    }

    std::string dump(const std::vector<std::string>& options = {}) {
        std::vector<std::string> args{"dump", table_.string()};
        args.insert(args.end(), options.begin(), options.end());
        const ProgramResult run = tool(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    void deleteRecord(std::uint32_t recno) {
        storage::Cursor cursor(table_, storage::OpenMode::Shared);
        ASSERT_TRUE(cursor.gotoRecord(recno));
        cursor.deleteRecord();
    }

    void setByte28(char value) {
        std::string bytes = readBytes(table_);
        bytes[28] = value;
        writeBytes(table_, bytes);
    }

    // Runs check and returns its report; expects the exit status that goes with it.
    std::string check(int expectedExit) {
        const ProgramResult run = tool({"check", table_.string()});
        EXPECT_EQ(run.exitCode, expectedExit) << run.out << run.err;
        return run.out;
    }

    std::string info() {
        const ProgramResult run = tool({"info", table_.string()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    test::TempDir dir_;
    std::filesystem::path table_ = dir_ / "movimenti.dbf";
    std::filesystem::path index_ = dir_ / "moviment.mdx";  // first eight characters of the name
};

// A failure: status 1, nothing on stdout, one line on stderr from the tool, in Italian.
void expectOneLineError(const ProgramResult& run, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.back(), '\n') << run.err;
    EXPECT_TRUE(run.err.starts_with("quendra-db: ")) << run.err;
    for (const char* english : {"No such file", "filesystem error", "std::", "basic_string", "Permission denied"}) {
        EXPECT_EQ(run.err.find(english), std::string::npos) << run.err;
    }
}

TEST_F(QuendraDbTest, LoadThenDumpGivesBackTheSameCsv) {
    loadSample();
    EXPECT_EQ(dump(), kCsv);
}

TEST_F(QuendraDbTest, LoadTakesColumnsInAnyOrderLeavesMissingOnesEmptyAndAcceptsBareLineFeeds) {
    const ProgramResult run =
        tool({"load", table_.string(), "--fields", kSpec}, "text,nummer\n\"a, b\",5\nsolo testo\n,6\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dump(), kHeader + "5,,,\"a, b\",,\r\n" + ",,,solo testo,,\r\n" + "6,,,,,\r\n");
}

TEST_F(QuendraDbTest, DumpByTagWalksTheIndexOrder) {
    loadSample();
    EXPECT_EQ(dump({"--tag", "nummer"}), kHeader + kRow1 + kRow2 + kRow7 + kRow10 + kRow33);
    // Equal keys (HE0500) follow the record numbers; tag names are case-blind.
    EXPECT_EQ(dump({"--tag", "COD"}), kHeader + kRow10 + kRow1 + kRow2 + kRow7 + kRow33);
    // The empty date sorts first.
    EXPECT_EQ(dump({"--tag", "Datum"}), kHeader + kRow33 + kRow1 + kRow2 + kRow7 + kRow10);
}

TEST_F(QuendraDbTest, DumpDeletedAddsTheFlagColumnAndTheDeletedRows) {
    loadSample();
    deleteRecord(2);
    EXPECT_EQ(dump(), kHeader + kRow10 + kRow33 + kRow1 + kRow7);
    EXPECT_EQ(dump({"--deleted"}), "_deleted," + kHeader + withFlags(kRow10, false) + withFlags(kRow2, true) +
                                       withFlags(kRow33, false) + withFlags(kRow1, false) + withFlags(kRow7, false));
    // The tags keep a deleted row's keys until a pack.
    EXPECT_EQ(dump({"--tag", "cod"}), kHeader + kRow10 + kRow1 + kRow7 + kRow33);
    EXPECT_EQ(dump({"--tag", "cod", "--deleted"}), "_deleted," + kHeader + withFlags(kRow10, false) +
                                                       withFlags(kRow1, false) + withFlags(kRow2, true) +
                                                       withFlags(kRow7, false) + withFlags(kRow33, false));
}

TEST_F(QuendraDbTest, InfoShowsHeaderFieldsTagsAndCounts) {
    loadSample();
    deleteRecord(4);
    const std::string out = info();
    for (const char* line : {"record: 5 (validi 4, cancellati 1)\n", "indice di produzione (byte 28): 1\n",
                             "driver di lingua: 0x57\n", "lunghezza record: 74\n", "  NUMMER N 6.0 (indicizzato)\n",
                             "  DATUM D 8 (indicizzato)\n", "  COD C 6 (indicizzato)\n", "  TEXT C 40\n",
                             "  BETRAG N 12.2\n", "  OK L 1\n", "  NUMMER = NUMMER\n", "  COD = COD\n",
                             "  DATUM = DATUM\n"}) {
        EXPECT_NE(out.find(line), std::string::npos) << "missing \"" << line << "\" in\n" << out;
    }
}

TEST_F(QuendraDbTest, InfoReadsATwoDigitUpdateYearAsThisCentury) {
    loadSample();
    const auto updatedIn = [&](char yearByte) {
        std::string bytes = readBytes(table_);
        bytes[1] = yearByte;
        bytes[2] = 12;
        bytes[3] = 9;
        writeBytes(table_, bytes);
        const std::string out = info();
        const std::size_t at = out.find("ultimo aggiornamento: ");
        return at == std::string::npos ? out : out.substr(at, out.find('\n', at) - at);
    };
    EXPECT_EQ(updatedIn(26), "ultimo aggiornamento: 2026-12-09") << "written as year % 100";
    EXPECT_EQ(updatedIn(0), "ultimo aggiornamento: 2000-12-09");
    EXPECT_EQ(updatedIn(126), "ultimo aggiornamento: 2026-12-09") << "written as year - 1900";
    EXPECT_EQ(updatedIn(80), "ultimo aggiornamento: 1980-12-09");
    EXPECT_EQ(updatedIn(99), "ultimo aggiornamento: 1999-12-09");
}

TEST_F(QuendraDbTest, CheckIsCleanAfterLoadAndAfterDeletions) {
    loadSample();
    EXPECT_EQ(check(0), "nessun problema\n");
    deleteRecord(1);
    EXPECT_EQ(check(0), "nessun problema\n");
}

TEST_F(QuendraDbTest, ClearedByte28IsReportedAndReindexRestoresIt) {
    loadSample();
    setByte28(0);
    EXPECT_NE(check(1).find("byte 28"), std::string::npos);

    const ProgramResult run = tool({"reindex", table_.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readBytes(table_)[28], 1);
    EXPECT_EQ(check(0), "nessun problema\n");
    EXPECT_EQ(dump({"--tag", "cod"}), kHeader + kRow10 + kRow1 + kRow2 + kRow7 + kRow33);
}

TEST_F(QuendraDbTest, Byte28WithoutAnIndexIsReportedAndReindexWithTagsBuildsOne) {
    ASSERT_EQ(tool({"load", table_.string(), "--fields", kSpec}, kCsv).exitCode, 0);
    EXPECT_EQ(check(0), "nessun problema\n");
    setByte28(1);
    EXPECT_NE(check(1).find("MOVIMENT.MDX"), std::string::npos);

    const ProgramResult run = tool({"reindex", table_.string(), "--tag", "nummer=Nummer", "--tag", "datum=Datum"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(check(0), "nessun problema\n");
    EXPECT_EQ(dump({"--tag", "datum"}), kHeader + kRow33 + kRow1 + kRow2 + kRow7 + kRow10);
}

TEST_F(QuendraDbTest, AChangedKeyInTheIndexIsReportedAndReindexRepairsIt) {
    loadSample();
    // Still in order but no longer the row's value; then out of order as well.
    for (const char* replacement : {"ZZ0002", "AA0000"}) {
        SCOPED_TRACE(replacement);
        std::string mdx = readBytes(index_);
        const std::size_t at = mdx.find("ZZ0001");
        ASSERT_NE(at, std::string::npos);
        mdx.replace(at, 6, replacement);
        writeBytes(index_, mdx);
        const std::string report = check(1);
        EXPECT_NE(report.find("COD"), std::string::npos) << report;

        const ProgramResult run = tool({"reindex", table_.string()});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(check(0), "nessun problema\n");
        EXPECT_EQ(dump({"--tag", "cod"}), kHeader + kRow10 + kRow1 + kRow2 + kRow7 + kRow33);
    }
}

TEST_F(QuendraDbTest, ARowChangedBehindTheIndexIsReported) {
    loadSample();
    std::string dbf = readBytes(table_);
    const std::size_t at = dbf.find("HE0500");
    ASSERT_NE(at, std::string::npos);
    dbf.replace(at, 6, "HE0501");
    writeBytes(table_, dbf);
    EXPECT_NE(check(1).find("tag COD"), std::string::npos);
    expectOneLineError(tool({"dump", table_.string(), "--tag", "cod"}), "a walk over a stale tag");
    ASSERT_EQ(tool({"reindex", table_.string()}).exitCode, 0);
    EXPECT_EQ(check(0), "nessun problema\n");
}

TEST_F(QuendraDbTest, ATruncatedIndexIsReportedAndRebuiltWithTheGivenTags) {
    loadSample();
    std::filesystem::resize_file(index_, 1024);
    const std::string report = check(1);
    EXPECT_NE(report.find("MOVIMENT.MDX"), std::string::npos) << report;

    const ProgramResult run = tool({"reindex", table_.string(), "--tag", "cod=cod"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(check(0), "nessun problema\n");
    EXPECT_EQ(dump({"--tag", "cod"}), kHeader + kRow10 + kRow1 + kRow2 + kRow7 + kRow33);
}

// Without --tag, reindex rebuilds what the old index declared. When that cannot be read
// at all, dropping the index and reporting success would lose the tags unnoticed.
TEST_F(QuendraDbTest, ReindexWithoutTagsRefusesWhenTheOldIndexIsGone) {
    loadSample();
    std::filesystem::remove(index_);
    expectOneLineError(tool({"reindex", table_.string()}), "reindex without the index it should rebuild");
    EXPECT_EQ(readBytes(table_)[28], 1);
}

// The tag table (first pages) still names the tags, and our tags are named after their
// fields: rebuild those, or refuse; never succeed with the tags gone.
TEST_F(QuendraDbTest, ReindexWithoutTagsKeepsTagsWhoseHeadersWereLost) {
    loadSample();
    std::filesystem::resize_file(index_, 2048);
    const ProgramResult run = tool({"reindex", table_.string()});
    if (run.exitCode != 0) {
        expectOneLineError(run, "reindex of an index without tag headers");
        return;
    }
    EXPECT_EQ(check(0), "nessun problema\n");
    const std::string out = info();
    for (const char* line : {"  NUMMER = NUMMER\n", "  COD = COD\n", "  DATUM = DATUM\n"}) {
        EXPECT_NE(out.find(line), std::string::npos) << out;
    }
}

TEST_F(QuendraDbTest, LoadRefusesAnExistingFileUnlessReplace) {
    loadSample();
    const std::string other = "NUMMER\r\n99\r\n";
    const ProgramResult refused = tool({"load", table_.string(), "--fields", kSpec}, other);
    expectOneLineError(refused, "load over an existing table");
    EXPECT_NE(refused.err.find("MOVIMENTI.DBF"), std::string::npos) << refused.err;
    EXPECT_EQ(dump(), kCsv);
    EXPECT_EQ(check(0), "nessun problema\n");

    const ProgramResult replaced = tool({"load", table_.string(), "--fields", kSpec, "--replace"}, other);
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_EQ(dump(), kHeader + "99,,,,,\r\n");
    // The old index went with the old table.
    EXPECT_FALSE(std::filesystem::exists(index_));
    EXPECT_EQ(check(0), "nessun problema\n");
}

TEST_F(QuendraDbTest, ErrorsAreOneItalianLineOnStderr) {
    loadSample();
    const std::string table = table_.string();
    const std::string missing = (dir_ / "manca.dbf").string();
    const std::string fresh = (dir_ / "nuova.dbf").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"info", missing}, ""},
        {{"dump", missing}, ""},
        {{"dump", table, "--tag", "nessuno"}, ""},
        {{"dump", table, "--sconosciuta"}, ""},
        {{"dump"}, ""},
        {{"dump", table, table}, ""},
        {{"reindex", missing}, ""},
        {{"reindex", table, "--tag", "x=nessuno"}, ""},
        {{"reindex", table, "--tag", "senzauguale"}, ""},
        {{"load", fresh}, "A\r\n1\r\n"},
        {{"load", fresh, "--fields", "a:Q:3"}, "A\r\n1\r\n"},
        {{"load", fresh, "--fields", "a:C"}, "A\r\n1\r\n"},
        {{"load", fresh, "--fields", "a:N:x"}, "A\r\n1\r\n"},
        {{"load", fresh + "1", "--fields", "d:D"}, "D\r\n2024-02-30\r\n"},
        {{"load", fresh + "2", "--fields", "n:N:4:1"}, "N\r\n12345\r\n"},
        {{"load", fresh + "3", "--fields", "n:N:4"}, "N\r\ndodici\r\n"},
        {{"load", fresh + "4", "--fields", "c:C:2"}, "C\r\ntroppo lungo\r\n"},
        {{"load", fresh + "5", "--fields", "c:C:9"}, "C\r\n\xe2\x82\xac \xe2\x98\x83\r\n"},  // a snowman
        {{"load", fresh + "6", "--fields", "c:C:9"}, "X\r\nnessun campo\r\n"},
        {{"load", fresh + "7", "--fields", "c:C:9"}, "C\r\n\"aperta\r\n"},
        {{"load", fresh + "8", "--fields", "c:C:9"}, "C\r\na,b\r\n"},
    };
    for (const auto& [args, input] : cases) {
        std::string what;
        for (const std::string& arg : args) what += arg + " ";
        expectOneLineError(tool(args, input), what);
    }
}

TEST_F(QuendraDbTest, ARowThatCannotBeLoadedIsNamedByItsLine) {
    const ProgramResult run =
        tool({"load", table_.string(), "--fields", kSpec}, kHeader + kRow10 + "3,2024-13-01,,,,\r\n");
    expectOneLineError(run, "a bad date on line 3");
    EXPECT_NE(run.err.find("riga 3"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(table_)) << "a refused load of a new table leaves no table";
    EXPECT_FALSE(std::filesystem::exists(index_));
}

TEST_F(QuendraDbTest, ARefusedReplaceLeavesTheOldTableWhole) {
    loadSample();
    const std::string before = readBytes(table_);
    const std::string beforeIndex = readBytes(index_);
    for (const std::string& input : {kHeader + kRow10 + "3,2024-13-01,,,,\r\n",   // a bad date on row 2
                                     kHeader + kRow10 + "4,,,,0x1A,\r\n",          // hexadecimal
                                     kHeader + kRow10 + "5,,,,1e3,\r\n",           // an exponent
                                     kHeader + kRow10 + "6,,,\"a\x01b\",,\r\n",     // a control byte
                                     kHeader + kRow10 + "7,,,\"due\nrighe\",,\r\n"}) {
        const ProgramResult run = tool({"load", table_.string(), "--fields", kSpec, "--replace", "--tag", "n=nummer"}, input);
        expectOneLineError(run, input);
        EXPECT_NE(run.err.find("riga 3"), std::string::npos) << run.err;
        EXPECT_EQ(readBytes(table_), before);
        EXPECT_EQ(readBytes(index_), beforeIndex);
    }
    EXPECT_EQ(test::namesIn(dir_.path()), (std::vector<std::string>{"moviment.mdx", "movimenti.dbf"}))
        << "no file left aside";
}

TEST_F(QuendraDbTest, ATableAnotherProgramWritesIsNeitherReplacedNorChanged) {
    loadSample();
    storage::Cursor held(table_, storage::OpenMode::Shared);
    ASSERT_TRUE(held.gotoRecord(1));
    held.edit();
    held.setText("text", "mio");
    held.post();  // this process is now the table's writer
    const std::string inUse = "\"MOVIMENTI.DBF\" è in uso da un altro programma";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"load", table_.string(), "--fields", kSpec, "--replace"},
             {"reindex", table_.string()},
             {"query", "delete from \"" + table_.string() + "\" where nummer = 10"}}) {
        const ProgramResult run = tool(args, kHeader + kRow1);
        EXPECT_EQ(run.exitCode, 1) << args[0];
        EXPECT_NE(run.err.find(inUse), std::string::npos) << args[0] << ": " << run.err;
    }
    held.close();
    EXPECT_NE(dump().find("mio"), std::string::npos);
}

TEST_F(QuendraDbTest, CheckReportsWhatReadingWouldGetWrong) {
    loadSample();
    std::string bytes = readBytes(table_);
    const std::size_t amount = bytes.find("125.50");
    bytes[amount + 3] = 'n';  // one flipped bit: "125n50"
    writeBytes(table_, bytes);
    EXPECT_EQ(check(1), "record 1, campo BETRAG: \"125n50\", che non è un numero\n");
    const ProgramResult sum = tool({"query", "select sum(betrag) from \"" + table_.string() + "\""});
    expectOneLineError(sum, "a sum over a damaged amount");
    EXPECT_NE(sum.err.find("Tabella \"MOVIMENTI.DBF\", record 1: il campo BETRAG contiene \"125n50\""), std::string::npos)
        << sum.err;
    expectOneLineError(tool({"dump", table_.string()}), "dump of a damaged amount");

    bytes[amount + 3] = '.';
    bytes[4] = char(bytes[4] - 2);  // the count lowered: two rows hidden
    writeBytes(table_, bytes);
    EXPECT_NE(check(1).find("dichiara 3 record ma ne contiene 5"), std::string::npos);
    const ProgramResult counted = tool({"query", "select * from \"" + table_.string() + "\""});
    expectOneLineError(counted, "a query of a table with a wrong count");
    EXPECT_EQ(counted.err.find("Errore nella query"), std::string::npos) << "the query is right, the file is not";
    expectOneLineError(tool({"dump", table_.string()}), "dump with a wrong count");
    ASSERT_EQ(tool({"reindex", table_.string()}).exitCode, 0);
    const ProgramResult rows = tool({"info", table_.string()});
    EXPECT_NE(rows.out.find("record: 5"), std::string::npos) << "every row back: " << rows.out;
}

bool validUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = std::uint8_t(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((std::uint8_t(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

TEST_F(QuendraDbTest, DamagedBytesAreRefusedEverywhereAndShownEscaped) {
    loadSample();
    const std::string good = readBytes(table_);
    const std::size_t amount = good.find("125.50") - 6;  // BETRAG of record 1, twelve bytes
    const std::size_t date = good.find("20240115");       // DATUM of record 2
    const std::pair<std::size_t, std::string> damages[] = {
        {amount, std::string(12, '\0')},
        {date, "20\xb2" "40115"},
        {amount, "      1.5E+2"},
        {good.find("20240115") - 7, "+"},  // record 2's deletion flag
    };
    const std::string table = table_.string();
    for (const auto& [at, damage] : damages) {
        SCOPED_TRACE(at);
        std::string bytes = good;
        bytes.replace(at, damage.size(), damage);
        writeBytes(table_, bytes);
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"dump", table}, {"dump", table, "--tag", "nummer"}, {"query", "select * from \"" + table + "\""},
                 {"query", "select sum(betrag) from \"" + table + "\" where datum >= :d", "--param", "d=2000-01-01"}}) {
            const ProgramResult run = tool(args);
            expectOneLineError(run, args[0]);
            EXPECT_TRUE(validUtf8(run.err)) << run.err;
            EXPECT_EQ(run.err.find('\0'), std::string::npos);
        }
        const std::string report = check(1);
        EXPECT_TRUE(validUtf8(report)) << report;
        EXPECT_EQ(report.find('\0'), std::string::npos);
    }
    EXPECT_NE(tool({"info", table}).out.find("record: 5 (validi 4, cancellati 0, con il contrassegno danneggiato 1)"),
              std::string::npos)
        << "the last damage: a flipped flag";
    std::string nul = good;
    nul.replace(amount, 12, std::string(12, '\0'));
    writeBytes(table_, nul);
    EXPECT_NE(check(1).find("campo BETRAG: \"\\x00\\x00"), std::string::npos) << "NULs shown as \\x00";
}

TEST_F(QuendraDbTest, NonRegularFilesAreRefusedAtOnce) {
    loadSample();
    const auto fifo = dir_ / "tubo.dbf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const char* command : {"check", "dump", "info", "reindex"}) {
        const ProgramResult run = tool({command, fifo.string()});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_NE((run.out + run.err).find("\"TUBO.DBF\" non è un file regolare"), std::string::npos)
            << command << ": " << run.out << run.err;
    }
    std::filesystem::remove(index_);
    ASSERT_EQ(::mkfifo(index_.c_str(), 0644), 0);
    expectOneLineError(tool({"reindex", table_.string(), "--tag", "n=nummer"}), "a FIFO as index");
    EXPECT_NE(check(1).find("\"MOVIMENT.MDX\" non è un file regolare"), std::string::npos);
    std::filesystem::remove(index_);
    std::filesystem::create_directory(index_);
    const ProgramResult directory = tool({"reindex", table_.string(), "--tag", "n=nummer"});
    expectOneLineError(directory, "a directory as index");
    EXPECT_NE(directory.err.find("non è un file regolare"), std::string::npos) << directory.err;
}

TEST_F(QuendraDbTest, AHugeSparseFileIsRefusedBeforeMemoryIsTaken) {
    loadSample();
    std::string header = readBytes(table_).substr(0, 32 * 7 + 1);
    const std::uint32_t claimed = 4000000000u;
    for (int i = 0; i < 4; ++i) header[4 + i] = char((claimed >> (8 * i)) & 0xFF);
    writeBytes(table_, header);
    const std::uint64_t recordLength = std::uint8_t(header[10]) | std::uint64_t(std::uint8_t(header[11])) << 8;
    std::filesystem::resize_file(table_, header.size() + claimed * recordLength);
    for (const char* command : {"dump", "check"}) {
        const ProgramResult run = tool({command, table_.string()});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_NE((run.out + run.err).find("troppo grande"), std::string::npos) << command << ": " << run.out << run.err;
    }
}

TEST_F(QuendraDbTest, AnUnknownCommandFails) {
    expectOneLineError(tool({"frobnica", table_.string()}), "unknown command");
}

}  // namespace
}  // namespace quendra::tools
