#include "storage/dbase/error.h"
#include "storage/query/query.h"
#include "storage/dbase/table_ops.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

using test::ymd;

class QueryErrors : public ::testing::Test {
protected:
    void SetUp() override {
        test::makeJournal(path, {
            {1, ymd(2015, 1, 1), " C0101", " C0101", "Riporto", 500, 0, 2, 2},
            {2, ymd(2015, 1, 5), " E0201", " C0101", "Offerte", 230, 0, 2, 0},
        });
    }

    // select * from "<path>" + rest; the text before rest is prefixLength characters long.
    std::string select(const std::string& rest) const { return "select * from \"" + path.string() + "\"" + rest; }
    std::size_t prefixLength() const { return select("").size(); }

    DbError failure(const std::string& sql, const QueryParams& params = {}) {
        try {
            runSelect(sql, params);
        } catch (const DbError& e) {
            return e;
        }
        ADD_FAILURE() << "no error for " << sql;
        return DbError(DbError::Kind::Io, "");
    }

    std::size_t rows(const std::string& rest) { return runSelect(select(rest))->recordCount(); }

    test::TempDir dir;
    std::filesystem::path path = dir / "kr201501.dbf";
};

TEST_F(QueryErrors, AMissingFieldIsNamedWithItsPosition) {
    const DbError e = failure(select(" where (numero < 5)"));
    EXPECT_EQ(e.kind(), DbError::Kind::NoSuchField);
    EXPECT_EQ(std::string(e.what()), "Errore nella query alla posizione " + std::to_string(prefixLength() + 9) +
                                         ": il campo \"numero\" non esiste nella tabella \"kr201501.dbf\"");
    EXPECT_EQ(failure(select(" order by datum, numero")).kind(), DbError::Kind::NoSuchField);
    EXPECT_EQ(failure("select sum(entrate) from \"" + path.string() + "\"").kind(), DbError::Kind::NoSuchField);
    EXPECT_EQ(failure(select(" where upper(testo) like \"A%\"")).kind(), DbError::Kind::NoSuchField);
}

TEST_F(QueryErrors, AMissingTableGivesTheEnginesMessageAtTheName) {
    const std::string sql = "select * from \"" + (dir / "kr209901.dbf").string() + "\"";
    const std::string message = failure(sql).what();
    EXPECT_EQ(message.rfind("Errore nella query alla posizione 15: ", 0), 0u) << message;
    EXPECT_NE(message.find("KR209901.DBF"), std::string::npos) << message;
}

TEST_F(QueryErrors, MismatchedTypesAreRefusedBeforeAnyRowIsRead) {
    const std::pair<std::string, std::string> cases[] = {
        {" where cod = 5", "impossibile confrontare il campo \"COD\" (carattere) con il numero 5"},
        {" where nummer = \"5\"", "impossibile confrontare il campo \"NUMMER\" (numerico) con il testo \"5\""},
        {" where datum >= \"2015-01-01\"", "impossibile confrontare il campo \"DATUM\" (data)"},
        {" where datum = nummer", "con il campo \"NUMMER\" (numerico)"},
        {" where nummer like \"5%\"", "like vale solo per i testi, non per il campo \"NUMMER\" (numerico)"},
        {" where upper(einnahme) = \"1\"", "upper vale solo per i testi, non per il campo \"EINNAHME\" (numerico)"},
        {" where nummer = :d", "con il parametro :d (data)"},
        {" where cod like :n", "il parametro :n usato con like deve essere un testo"},
        {" where cod = :senza", "manca il valore del parametro :senza"},
        {" where text < \"\xC5\x82\"", "il testo contiene un carattere che la tabella non può contenere"},
    };
    const QueryParams params = QueryParams().date("d", ymd(2015, 1, 1)).number("n", 3);
    for (const auto& [rest, detail] : cases) {
        const DbError e = failure(select(rest), params);
        EXPECT_EQ(e.kind(), DbError::Kind::BadQuery) << rest;
        EXPECT_NE(std::string(e.what()).find(detail), std::string::npos) << rest << "\n  gave: " << e.what();
    }
    const DbError sum = failure("select sum(text) from \"" + path.string() + "\"");
    EXPECT_NE(std::string(sum.what()).find("sum vale solo per i campi numerici, non per il campo \"TEXT\""),
              std::string::npos);
}

TEST_F(QueryErrors, ATextTheCodePageCannotHoldEqualsNothing) {
    EXPECT_EQ(rows(" where text = \"\xC5\x82\""), 0u);         // ł
    EXPECT_EQ(rows(" where text <> \"\xC5\x82\""), 2u);
    EXPECT_EQ(rows(" where text like \"%\xC5\x82%\""), 0u);
    EXPECT_EQ(rows(" where text not like \"%\xC5\x82%\""), 2u);
    EXPECT_EQ(rows(" where text = \"\xFF\""), 0u);              // not UTF-8 at all
}

TEST(QueryLogicalField, ALogicalFieldCanBeReadButNotCompared) {
    test::TempDir dir;
    const auto path = dir / "flags.dbf";
    createTable(path, {{"NAME", FieldType::Character, 10, 0, false}, {"OK", FieldType::Logical, 1, 0, false}});
    {
        Cursor c(path, OpenMode::Exclusive);
        c.append();
        c.setText("NAME", "uno");
        c.setLogical("OK", true);
        c.post();
    }
    const auto all = runSelect("select * from \"" + path.string() + "\" order by ok, name");
    EXPECT_EQ(all->asText("ok"), "T");
    try {
        runSelect("select * from \"" + path.string() + "\" where ok = \"T\"");
        ADD_FAILURE() << "a logical field was compared";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("il campo logico \"OK\" non si può usare in una condizione"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace quendra::storage
