#include "storage/dbase/error.h"
#include "storage/query/parser.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

std::string errorOf(std::string_view sql) {
    try {
        parseQuery(sql);
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::BadQuery);
        return e.what();
    }
    return "(no error)";
}

TEST(QueryParser, ReadsTheReportQueryWithItsPrecedence) {
    const Statement s = parseQuery(
        R"(SELECT * from "c:\krw\kr201501.dbf" where cod like " E%" and (codd like " C01%" or codd like " C02%")
           and not upper(text) like "%X%" or nummer < 5 Order By cod ,datum,Nummer)");
    EXPECT_EQ(s.kind, Statement::Kind::Select);
    EXPECT_EQ(s.table, "c:\\krw\\kr201501.dbf");
    ASSERT_EQ(s.orderBy.size(), 3u);
    EXPECT_EQ(s.orderBy[0].name, "cod");
    EXPECT_EQ(s.orderBy[2].name, "Nummer");
    // or(and(like, or(like, like), not(like)), compare)
    ASSERT_TRUE(s.where);
    const Condition& top = *s.where;
    ASSERT_EQ(top.kind, Condition::Kind::Or);
    ASSERT_EQ(top.children.size(), 2u);
    const Condition& all = top.children[0];
    ASSERT_EQ(all.kind, Condition::Kind::And);
    ASSERT_EQ(all.children.size(), 3u);
    EXPECT_EQ(all.children[0].kind, Condition::Kind::Like);
    EXPECT_EQ(all.children[0].pattern.at(0).text, " E%");
    EXPECT_EQ(all.children[1].kind, Condition::Kind::Or);
    ASSERT_EQ(all.children[2].kind, Condition::Kind::Not);
    const Condition& negated = all.children[2].children.at(0);
    EXPECT_EQ(negated.kind, Condition::Kind::Like);
    EXPECT_EQ(negated.left.kind, Operand::Kind::Upper);
    EXPECT_EQ(negated.left.inner->text, "text");
    const Condition& compare = top.children[1];
    EXPECT_EQ(compare.kind, Condition::Kind::Compare);
    EXPECT_EQ(compare.op, CompareOp::Less);
    EXPECT_EQ(compare.right.kind, Operand::Kind::Number);
    EXPECT_EQ(compare.right.number, 5);
}

TEST(QueryParser, ReadsSumsDeleteParametersAndNotLike) {
    const Statement sums = parseQuery(R"(select sum(einnahme),sum( Ausgabe ) from "kr.dbf" where codd like :codx || "%")");
    EXPECT_EQ(sums.kind, Statement::Kind::SelectSums);
    ASSERT_EQ(sums.sums.size(), 2u);
    EXPECT_EQ(sums.sums[1].name, "Ausgabe");
    const auto& pattern = sums.where->pattern;
    ASSERT_EQ(pattern.size(), 2u);
    EXPECT_TRUE(pattern[0].isParameter);
    EXPECT_EQ(pattern[0].text, "codx");
    EXPECT_FALSE(pattern[1].isParameter);

    const Statement del = parseQuery(R"(delete  from "kr.dbf" where eroeffnung =2)");
    EXPECT_EQ(del.kind, Statement::Kind::Delete);
    EXPECT_EQ(del.where->right.number, 2);

    const Statement notLike = parseQuery(R"(select * from "kr.dbf" where cod not like " C01%" and (datum >=:dat1))");
    EXPECT_TRUE(notLike.where->children[0].negated);
    EXPECT_EQ(notLike.where->children[1].right.kind, Operand::Kind::Parameter);
    EXPECT_EQ(notLike.where->children[1].right.text, "dat1");
}

TEST(QueryParser, ReadsTextsNumbersAndOperators) {
    const Statement s = parseQuery(R"(select * from "a ""b"".dbf" where t = "x""y" and n >= -12.5 and n <> 3 and n <= 0)");
    EXPECT_EQ(s.table, "a \"b\".dbf");
    const auto& c = s.where->children;
    EXPECT_EQ(c[0].right.text, "x\"y");
    EXPECT_EQ(c[1].op, CompareOp::GreaterEqual);
    EXPECT_EQ(c[1].right.number, -12.5);
    EXPECT_EQ(c[2].op, CompareOp::NotEqual);
    EXPECT_EQ(c[3].op, CompareOp::LessEqual);
    EXPECT_EQ(parseQuery(R"(select * from "k" where "%)(" = cod)").where->left.text, "%)(");
}

TEST(QueryParser, ErrorsNameThePositionInCharacters) {
    EXPECT_EQ(errorOf(R"(select * from "kr.dbf" where = 5)"),
              "Errore nella query alla posizione 30: atteso un campo, un testo, un numero o un parametro");
    EXPECT_EQ(errorOf(R"(select * from "kr.dbf" order by 5)"),
              "Errore nella query alla posizione 33: atteso un nome di campo");
    // Accented letters before the fault count once each.
    EXPECT_EQ(errorOf(R"(select * from "è.dbf" where cod # 1)"),
              "Errore nella query alla posizione 33: carattere non ammesso \"#\"");
    EXPECT_EQ(errorOf(R"(select * from "kr.dbf" where cod = "abc)"),
              "Errore nella query alla posizione 36: testo tra virgolette non chiuso");
}

TEST(QueryParser, RefusesWhatTheDialectDoesNotHave) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "la query è vuota"},
        {"   ", "la query è vuota"},
        {"update x", "atteso \"select\" o \"delete\""},
        {"select cod from \"k\"", "atteso \"*\" o \"sum(\""},
        {"select * \"k\"", "atteso \"from\""},
        {"select * from k", "atteso il nome della tabella tra virgolette"},
        {"select * from \"k\" where", "atteso un campo, un testo, un numero o un parametro"},
        {"select * from \"k\" where cod", "atteso un operatore di confronto o \"like\""},
        {"select * from \"k\" where cod not = 1", "atteso \"like\""},
        {"select * from \"k\" where cod like cod", "atteso un testo tra virgolette o un parametro"},
        {"select * from \"k\" where cod like \"a\" ||", "atteso un testo tra virgolette o un parametro"},
        {"select * from \"k\" where (cod = 1", "attesa una parentesi chiusa"},
        {"select * from \"k\" where upper cod = 1", "attesa una parentesi aperta"},
        {"select * from \"k\" where cod = 1)", "testo inatteso dopo la fine della query"},
        {"select * from \"k\" where cod = 1.", "numero non valido"},
        {"select * from \"k\" where cod = 1,5", "numero non valido"},
        {"select * from \"k\" where cod = 12ab", "numero non valido"},
        {"select * from \"k\" where cod = :", "atteso il nome del parametro dopo \":\""},
        {"select * from \"k\" where cod = 'x'", "carattere non ammesso \"'\""},
        {"select * from \"k\" where and = 1", "atteso un campo, un testo, un numero o un parametro"},
        {"select * from \"k\" order cod", "atteso \"by\""},
        {"select * from \"k\" order by cod,", "atteso un nome di campo"},
        {"select sum(text from \"k\"", "attesa una parentesi chiusa"},
        {"select sum(a) from \"k\" order by a", "\"order by\" non è ammesso con sum"},
        {"delete from \"k\"", "atteso \"where\": delete richiede una condizione"},
        {"select * from \"k\" where cod = 1 \x01", "carattere non ammesso"},
    };
    for (const auto& [sql, detail] : cases) {
        const std::string message = errorOf(sql);
        EXPECT_NE(message.find(std::string(": ") + detail), std::string::npos) << sql << "\n  gave: " << message;
    }
}

TEST(QueryParser, BoundsTheNestingInsteadOfOverflowingTheStack) {
    const std::string deep = "select * from \"k\" where " + std::string(100000, '(') + "a = 1";
    EXPECT_NE(errorOf(deep).find("condizione troppo annidata"), std::string::npos);
    std::string nots = "select * from \"k\" where ";
    for (int i = 0; i < 50000; ++i) nots += "not ";
    EXPECT_NE(errorOf(nots + "a = 1").find("condizione troppo annidata"), std::string::npos);
    std::string uppers = "select * from \"k\" where ";
    for (int i = 0; i < 50000; ++i) uppers += "upper(";
    EXPECT_NE(errorOf(uppers + "a").find("condizione troppo annidata"), std::string::npos);
    // Long flat chains are not nesting.
    std::string chain = "select * from \"k\" where a = 1";
    for (int i = 0; i < 5000; ++i) chain += " or a = 1 and b = 2";
    EXPECT_EQ(parseQuery(chain).where->children.size(), 5001u);
}

}  // namespace
}  // namespace quendra::storage
