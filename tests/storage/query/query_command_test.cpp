#include "support/journal_fixture.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::ymd;

class QueryCommand : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeJournal(path, {
            {1, ymd(2015, 1, 1), " C0101", " C0101", "Riporto, \"cassa\"", 500, 0, 2, 2},
            {2, ymd(2015, 1, 5), " E0201", " C0101", "Caffè", 230.5, 0, 2, 0},
            {3, Date(), " A0101", " C0201", "Candele", 0, 12, 1, 0},
        });
    }

    test::ProgramResult query(const std::string& rest, const std::vector<std::string>& params = {}) {
        std::vector<std::string> args = {"query", rest.rfind("delete", 0) == 0 || rest.rfind("select sum", 0) == 0
                                                      ? rest
                                                      : "select * from \"" + path.string() + "\"" + rest};
        for (const std::string& p : params) {
            args.push_back("--param");
            args.push_back(p);
        }
        return test::runProgram(QUENDRA_DB_TOOL, args);
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201501.dbf";
};

TEST_F(QueryCommand, PrintsTheRowsInTheDumpFormat) {
    const auto r = query(" order by datum, nummer");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "NUMMER,DATUM,COD,CODD,TEXT,EINNAHME,AUSGABE,EA,EROEFFNUNG\r\n"
              "3,, A0101, C0201,Candele,0.00,12.00,1,0\r\n"
              "1,2015-01-01, C0101, C0101,\"Riporto, \"\"cassa\"\"\",500.00,0.00,2,2\r\n"
              "2,2015-01-05, E0201, C0101,Caffè,230.50,0.00,2,0\r\n");
}

TEST_F(QueryCommand, TakesDatesAndTextsAsParameters) {
    const auto dates = query(" where datum >= :dat1", {"dat1=2015-01-02"});
    ASSERT_EQ(dates.exitCode, 0) << dates.err;
    EXPECT_NE(dates.out.find("\r\n2,2015-01-05"), std::string::npos) << dates.out;
    EXPECT_EQ(dates.out.find("\r\n1,"), std::string::npos) << dates.out;
    const auto text = query(" where upper(text) like \"%\" || :t || \"%\"", {"t=CAFFÈ"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("\r\n2,"), std::string::npos) << text.out;
    const auto empty = query(" where cod<>cod");
    EXPECT_EQ(empty.out, "NUMMER,DATUM,COD,CODD,TEXT,EINNAHME,AUSGABE,EA,EROEFFNUNG\r\n");
}

TEST_F(QueryCommand, PrintsSumsAndTheDeletedCount) {
    const auto sums = query("select sum(einnahme), sum(ausgabe) from \"" + path.string() + "\" where codd = :c",
                            {"c= C0101"});
    ASSERT_EQ(sums.exitCode, 0) << sums.err;
    EXPECT_EQ(sums.out, "SUM_EINNAHME,SUM_AUSGABE\r\n730.50,0.00\r\n");
    const auto deleted = query("delete from \"" + path.string() + "\" where eroeffnung = 2");
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(deleted.out, "1\n");
    EXPECT_EQ(query("").out.find("\r\n1,"), std::string::npos);
}

TEST_F(QueryCommand, ReportsErrorsOnOneLine) {
    const auto bad = query(" where nummer = \"x\"");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("quendra-db: Errore nella query alla posizione ", 0), 0u) << bad.err;
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1);
    EXPECT_EQ(query(" where datum = :d").exitCode, 1);
    EXPECT_EQ(query("", {"senza-uguale"}).exitCode, 1);
}

}  // namespace
}  // namespace quendra::storage
