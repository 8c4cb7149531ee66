#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/query/query.h"
#include "storage/dbase/table_ops.h"
#include "support/chart_fixture.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::ymd;

const std::string kLiquid =
    R"((codd like " C01%" or codd like " C02%" or codd like " C03%" or codd like " C04%"))";

// Record order differs from number order on purpose, so "by nummer" and "by record"
// give different answers.
const std::vector<test::Movement> kRows = {
    {1, ymd(2015, 1, 1), " C0101", " C0101", "Riporto: 2014/01 - Cassa parrocchiale", 500, 0, 2, 2},
    {9, ymd(2015, 1, 5), " E0201", " C0101", "Offerte domenicali", 230, 0, 2, 0},
    {3, ymd(2015, 1, 5), " A0701", " C0201", "Luce e gas", 0, 80.1, 1, 0},
    {4, ymd(2015, 1, 3), " A0101", " C0101", "Candele", 0, 12.5, 1, 0},
    {5, ymd(2015, 2, 1), " C0501", " C0201", "Titoli di stato", 0, 1000, 1, 0},
    {6, Date(), " P0101", " C0101", "Prestito bancario", 2000, 0, 2, 0},
    {7, ymd(2015, 1, 5), " E0201", " C0301", "offerte LUCE votive", 40, 0, 2, 0},
    {8, ymd(2015, 12, 31), " C0101", " C0401", "Giroconto", 0, 50, 1, 0},
    {2, ymd(2015, 1, 5), " A0701", " C0201", "Gas 100% (acconto)", 0, 20, 1, 0},
    {10, ymd(2015, 3, 1), " C0201", " C0201", "Apertura banca", 300, 0, 2, 2},
    {11, ymd(2015, 1, 5), "HA0100", " C0101", "Caffè e più", 0, 1, 1, 0},
    {12, ymd(2015, 4, 1), " A0101", " C0501", "pagato con titoli", 0, 5, 1, 0},
    {13, ymd(2015, 4, 2), " C0502", " C0101", "Obbligazioni", 0, 200, 1, 0},
};

class QuerySelect : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { test::makeJournal(journal, kRows, /*withTags=*/GetParam()); }

    std::string from() const { return "select * from \"" + journal.string() + "\""; }

    std::vector<int> numbers(const std::string& rest, const QueryParams& params = {}) {
        const auto result = runSelect(from() + rest, params);
        std::vector<int> out;
        for (result->first(); !result->eof(); result->next()) out.push_back(int(result->asInteger("nummer")));
        EXPECT_EQ(out.size(), result->recordCount());
        return out;
    }

    test::TempDir dir;
    std::filesystem::path journal = dir / "kr201501.dbf";
};

// Every query gives the same rows whether tags serve it or the rows are scanned.
INSTANTIATE_TEST_SUITE_P(WithAndWithoutTags, QuerySelect, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "tags" : "scan"; });

TEST_P(QuerySelect, LiquidFilterOrderedByCashBoxKeepsRecordOrderForEqualKeys) {
    EXPECT_EQ(numbers(" where " + kLiquid + " order by codd"),
              (std::vector<int>{1, 9, 4, 6, 11, 13, 3, 5, 2, 10, 7, 8}));
}

TEST_P(QuerySelect, OtherAssetsExcludeTheFourLiquidGroups) {
    EXPECT_EQ(numbers(R"( where cod like " C%"  and  cod not like " C01%" and cod not like " C02%" and cod not like " C03%" and cod not like " C04%"  order by cod )"),
              (std::vector<int>{5, 13}));
    EXPECT_EQ(numbers(R"( where cod like " C%"   and not (cod like " C01%" or cod like " C02%" or cod  like " C03%" or cod like " C04%") )"),
              (std::vector<int>{5, 13}));
}

TEST_P(QuerySelect, StatementSectionsOrderByCodeDateNumber) {
    EXPECT_EQ(numbers(R"( where cod like " A%" and )" + kLiquid + " order by cod,datum,nummer"),
              (std::vector<int>{4, 2, 3}));
    EXPECT_EQ(numbers(R"( where (cod like " C%" or cod like " P%" ) and )" + kLiquid + " order by cod,datum,nummer"),
              (std::vector<int>{1, 8, 10, 5, 13, 6}));
}

TEST_P(QuerySelect, TextSearchUpperCasesTheFieldAndTakesTheParameterLiterally) {
    const auto search = [&](const std::string& typed) {
        return numbers(R"( where (upper(text) like "%" || :t || "%") order by cod,datum,nummer)",
                       QueryParams().text("t", typed));
    };
    EXPECT_EQ(search("LUCE"), (std::vector<int>{3, 7}));
    EXPECT_EQ(search("CAFFÈ E PIÙ"), (std::vector<int>{11}));
    EXPECT_EQ(search("0%"), (std::vector<int>{2}));     // a typed % is a percent sign
    EXPECT_EQ(search("(ACCONTO)"), (std::vector<int>{2}));
    EXPECT_EQ(search("\""), (std::vector<int>{}));
    EXPECT_EQ(search("_"), (std::vector<int>{}));
    EXPECT_EQ(numbers(R"( where upper(text) like "%LUCE%" order by cod,datum,nummer)"), (std::vector<int>{3, 7}));
}

TEST_P(QuerySelect, ValuesAreCaseSensitiveNamesAndKeywordsAreNot) {
    EXPECT_EQ(numbers(R"( WHERE TEXT LIKE "%Luce%" ORDER BY NUMMER)"), (std::vector<int>{3}));
    EXPECT_EQ(numbers(R"( where Text like "%luce%")"), (std::vector<int>{}));
    EXPECT_EQ(numbers(R"( where (codd = " C0301") Order By Datum)"), (std::vector<int>{7}));
}

TEST_P(QuerySelect, CharacterComparisonsIgnoreTrailingBlanksOnly) {
    EXPECT_EQ(numbers(R"( where text = "Candele")"), (std::vector<int>{4}));
    EXPECT_EQ(numbers(R"( where text = "Candele    ")"), (std::vector<int>{4}));
    EXPECT_EQ(numbers(R"( where cod = " C01")"), (std::vector<int>{}));
    EXPECT_EQ(numbers(R"( where cod = "C0101")"), (std::vector<int>{}));
    EXPECT_EQ(numbers(R"( where cod >= "HA" order by nummer)"), (std::vector<int>{11}));
    EXPECT_EQ(numbers(R"( where cod < " A0701" order by cod, nummer)"), (std::vector<int>{4, 12}));
    EXPECT_EQ(numbers(R"( where cod like " C0101" order by nummer)"), (std::vector<int>{1, 8}));
}

TEST_P(QuerySelect, FieldsCompareWithFields) {
    EXPECT_EQ(numbers(" where cod = codd order by nummer"), (std::vector<int>{1, 10}));
    EXPECT_EQ(numbers(" where codd > cod order by nummer").size(), 5u);
    const auto none = runSelect(from() + " where cod<>cod");
    EXPECT_EQ(none->recordCount(), 0u);
    EXPECT_TRUE(none->eof());
    ASSERT_EQ(none->fieldCount(), 9u);
    EXPECT_EQ(none->findField("EROEFFNUNG"), 8);
    EXPECT_EQ(none->fieldDef(5).decimals, 2);
    EXPECT_THROW(none->asText("cod"), DbError);
}

TEST_P(QuerySelect, NumbersCompareAsTyped) {
    EXPECT_EQ(numbers(" where (nummer < 4) order by nummer"), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(numbers(" where (nummer  >= 11) and (nummer <= 12 ) order by nummer"), (std::vector<int>{11, 12}));
    EXPECT_EQ(numbers(" where ausgabe = 80.1"), (std::vector<int>{3}));
    EXPECT_EQ(numbers(" where eroeffnung =2 order by nummer"), (std::vector<int>{1, 10}));
    EXPECT_EQ(numbers(" where einnahme > -1 and ausgabe < 0").size(), 0u);
    EXPECT_EQ(numbers(" where 4 > nummer order by nummer"), (std::vector<int>{1, 2, 3}));
}

TEST_P(QuerySelect, DateRangesIncludeTheirBoundsAndEqualDatesGoByNumber) {
    const QueryParams fifth = QueryParams().date("dat1", ymd(2015, 1, 5)).date(":DAT2", ymd(2015, 1, 5));
    EXPECT_EQ(numbers(" where (datum >= :dat1) and (datum <= :dat2) order by datum,nummer", fifth),
              (std::vector<int>{2, 3, 7, 9, 11}));
    const QueryParams year = QueryParams().date("dat1", ymd(2015, 1, 1)).date("dat2", ymd(2015, 12, 31));
    EXPECT_EQ(numbers(" where (datum >= :dat1) and (datum <= :dat2) order by datum,nummer", year).size(), 12u);
    // The empty date comes before every date.
    EXPECT_EQ(numbers(" where (datum < :dat1) order by datum,nummer", QueryParams().date("dat1", ymd(2015, 1, 3))),
              (std::vector<int>{6, 1}));
    EXPECT_EQ(numbers(" where datum < :d", QueryParams().date("d", Date())), (std::vector<int>{}));
    EXPECT_EQ(numbers(" where datum = :d", QueryParams().date("d", Date())), (std::vector<int>{6}));
    EXPECT_EQ(numbers(" where datum > :d order by datum, nummer", QueryParams().date("d", ymd(2015, 4, 1))),
              (std::vector<int>{13, 8}));
}

TEST_P(QuerySelect, OrderBySeveralFieldsWithoutWhere) {
    EXPECT_EQ(numbers(" order by codd, datum, nummer"), (std::vector<int>{6, 1, 4, 9, 11, 13, 2, 3, 5, 10, 7, 8, 12}));
    EXPECT_EQ(numbers(" order by ea, nummer").front(), 2);
    EXPECT_EQ(numbers("").front(), 1);  // record order
    EXPECT_EQ(numbers("").at(1), 9);
}

TEST_P(QuerySelect, SumsReadAsZeroOverNoRows) {
    const auto all = runSelect("select sum(einnahme), sum(ausgabe) from \"" + journal.string() + "\"");
    ASSERT_EQ(all->recordCount(), 1u);
    EXPECT_DOUBLE_EQ(all->asNumber(std::size_t(0)), 3070);
    EXPECT_DOUBLE_EQ(all->asNumber("sum_ausgabe"), 1368.6);
    EXPECT_EQ(all->asText("SUM_AUSGABE"), "1368.60");

    const auto none = runSelect("select sum(einnahme),sum(ausgabe) from \"" + journal.string() +
                                "\" where codd like :c || \"%\"",
                                QueryParams().text("c", " C09"));
    ASSERT_EQ(none->recordCount(), 1u);
    EXPECT_FALSE(none->eof());
    EXPECT_EQ(none->asNumber("SUM_EINNAHME"), 0.0);
    EXPECT_EQ(none->asText("SUM_EINNAHME"), "0.00");

    const auto cash = runSelect("select sum(einnahme),sum(ausgabe) from \"" + journal.string() +
                                "\" where codd = :c", QueryParams().text("c", " C0201"));
    EXPECT_DOUBLE_EQ(cash->asNumber("SUM_EINNAHME"), 300);
    EXPECT_DOUBLE_EQ(cash->asNumber("SUM_AUSGABE"), 1100.1);
}

TEST_P(QuerySelect, DeletedRowsNeverTakePart) {
    {
        Cursor c(journal, OpenMode::Shared);
        ASSERT_TRUE(c.gotoRecord(2));  // nummer 9
        c.deleteRecord();
        ASSERT_TRUE(c.gotoRecord(3));  // nummer 3
        c.deleteRecord();
    }
    EXPECT_EQ(numbers(R"( where codd = " C0101" or codd = " C0201" order by codd)"),
              (std::vector<int>{1, 4, 6, 11, 13, 5, 2, 10}));
    EXPECT_EQ(numbers(" where nummer <> 0 order by nummer").size(), 11u);
    EXPECT_EQ(numbers("").size(), 11u);
    const auto sums = runSelect("select sum(einnahme), sum(ausgabe) from \"" + journal.string() + "\"");
    EXPECT_DOUBLE_EQ(sums->asNumber(std::size_t(0)), 2840);
}

// The program holds its year open, and the table keeps the numbers it decoded: every
// post must reach the next query's sums and orders all the same.
TEST_P(QuerySelect, SumsAndOrdersFollowEveryPostWhileTheTableStaysOpen) {
    Cursor held(journal, OpenMode::Shared);
    const auto spent = [&] { return runSelect("select sum(ausgabe) from \"" + journal.string() + "\"")->asNumber(std::size_t(0)); };
    EXPECT_DOUBLE_EQ(spent(), 1368.6);
    EXPECT_EQ(numbers(" where nummer > 10 order by nummer"), (std::vector<int>{11, 12, 13}));
    ASSERT_TRUE(held.gotoRecord(3));  // nummer 3, 80.10 spent
    held.edit();
    held.setNumber("ausgabe", 0.1);
    held.setInteger("nummer", 30);
    held.post();
    EXPECT_DOUBLE_EQ(spent(), 1288.6);
    EXPECT_EQ(numbers(" where nummer > 10 order by nummer"), (std::vector<int>{11, 12, 13, 30}));
    test::appendMovement(held, {14, ymd(2015, 5, 1), " A0101", " C0101", "Fiori", 0, 11.4, 1, 0});
    EXPECT_DOUBLE_EQ(spent(), 1300);
    EXPECT_EQ(numbers(" where nummer > 10 order by datum, nummer"), (std::vector<int>{11, 30, 12, 13, 14}));
    held.deleteRecord();
    EXPECT_DOUBLE_EQ(spent(), 1288.6);
}

TEST(QueryResultWalk, WalksLikeATableCursor) {
    test::TempDir dir;
    test::makeJournal(dir / "kr.dbf", {kRows[0], kRows[1], kRows[2]});
    const auto r = runSelect("select * from \"" + (dir / "kr.dbf").string() + "\" order by nummer");
    EXPECT_TRUE(r->bof());
    EXPECT_FALSE(r->eof());
    EXPECT_EQ(r->asInteger("Nummer"), 1);
    EXPECT_EQ(r->asText("text"), "Riporto: 2014/01 - Cassa parrocchiale");
    EXPECT_EQ(r->asText("cod"), " C0101");
    EXPECT_EQ(r->asDate("datum"), ymd(2015, 1, 1));
    EXPECT_EQ(r->asText("einnahme"), "500.00");
    EXPECT_FALSE(r->isBlank("datum"));
    r->last();
    EXPECT_TRUE(r->eof());
    EXPECT_EQ(r->asInteger("nummer"), 9);
    r->prior();
    EXPECT_EQ(r->asInteger("nummer"), 3);
    r->prior();
    r->prior();
    EXPECT_TRUE(r->bof());
    EXPECT_EQ(r->asInteger("nummer"), 1);
    r->next();
    r->next();
    r->next();
    EXPECT_TRUE(r->eof());
    EXPECT_EQ(r->asInteger("nummer"), 9);
    EXPECT_THROW(r->asText("nessuno"), DbError);
    EXPECT_THROW(r->asText(std::size_t(9)), DbError);
}

TEST(QueryResultWalk, IsACopyThatDoesNotHoldTheTable) {
    test::TempDir dir;
    const auto path = dir / "kr.dbf";
    test::makeJournal(path, kRows);
    const auto r = runSelect("select * from \"" + path.string() + "\" where codd = \" C0201\" order by nummer");
    {
        Cursor c(path, OpenMode::Shared);
        ASSERT_TRUE(c.gotoRecord(9));  // nummer 2
        c.edit();
        c.setText("text", "cambiato");
        c.post();
    }
    packTable(path);  // needs the table to itself
    EXPECT_EQ(r->asText("text"), "Gas 100% (acconto)");
    EXPECT_EQ(r->recordCount(), 4u);
}

TEST(QueryOnChart, ChartListingsWalkTheCodeOrder) {
    test::TempDir dir;
    const auto path = dir / "kw201501.dbf";
    std::vector<test::ChartRow> rows;
    for (const char* code : {"HA0100", " A0101", " V0101", "HE0200", " E0201", " C0101", " P0101", " X0101", " C0201"})
        rows.push_back({code, std::string("conto ") + code});
    test::makeChart(path, rows);
    const auto codes = [&](const std::string& where) {
        const auto r = runSelect("select * from \"" + path.string() + "\"" + where);
        std::vector<std::string> out;
        for (r->first(); !r->eof(); r->next()) out.push_back(r->asText("cod"));
        return out;
    };
    EXPECT_EQ(codes(R"( where (cod like " A%") or (cod like " E%") or (cod like " C%") or (cod like " P%") or (cod like " V%")  order by cod)"),
              (std::vector<std::string>{" A0101", " C0101", " C0201", " E0201", " P0101", " V0101"}));
    EXPECT_EQ(codes(R"( where (cod like "H%" ) order by cod)"), (std::vector<std::string>{"HA0100", "HE0200"}));
    EXPECT_EQ(codes(R"( where (cod like " C%" ) or (cod like " P%" )  order by cod)"),
              (std::vector<std::string>{" C0101", " C0201", " P0101"}));
}

}  // namespace
}  // namespace quendra::storage
