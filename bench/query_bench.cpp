// The query shapes of the reports on a journal of 100,000 rows with its four tags, side
// by side with the same rows in an in-memory SQLite table (indexes on the same four
// columns, case-sensitive like, so it may use them) running the equivalent SQL.
//
// Each repetition runs the query and reads the fields a report reads from every row.
// Goal: every shape in at most half the time SQLite takes (each pair runs side by side).

#include "storage/dbase/cursor.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "storage/dbase/table_ops.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace quendra::storage;
namespace fs = std::filesystem;

constexpr int kRows = 100'000;
constexpr std::uint32_t kSeed = 1959;

using Row = quendra::test::Movement;

std::string code(char cls, int group, int sub) {
    char out[8];
    std::snprintf(out, sizeof out, " %c%02d%02d", cls, group, sub);
    return out;
}

// A parish year, large: most movements are income or expense through a cash box or bank
// account; a few touch other assets, loans and transfers between cash boxes.
std::vector<Row> journalRows() {
    static const char* const kTexts[] = {
        "Offerta S. Messa domenicale", "Spese per fiori e candele", "Caffè e città: rimborso viaggio",
        "Bolletta luce canonica",      "Elemosine per i poveri",    "Quota diocesana",
        "Manutenzione organo",         "Stampa del bollettino n. ",
    };
    static const std::string kCashBoxes[] = {code('C', 1, 1), code('C', 1, 2), code('C', 2, 1), code('C', 3, 1),
                                             code('C', 4, 1)};
    std::mt19937 rng(kSeed);
    const auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    std::vector<Row> rows;
    const Date first = Date::fromYmd(2024, 1, 1);
    for (int i = 1; i <= kRows; ++i) {
        Row r{i, first.addDays(pick(366)), {}, kCashBoxes[pick(5)], {}, 0, 0, 0, i <= 20 ? 2 : 0};
        const int kind = pick(100);
        if (kind < 45) r.cod = code('A', 1 + pick(9), 1 + pick(5));
        else if (kind < 85) r.cod = code('E', 1 + pick(6), 1 + pick(5));
        else if (kind < 93) r.cod = code('C', 5 + pick(2), 1 + pick(3));
        else if (kind < 97) r.cod = code('P', 1 + pick(2), 1 + pick(3));
        else r.cod = kCashBoxes[pick(5)];
        if (pick(20) == 0) r.codd = code('C', 5, 1);  // paid from an asset that is not liquid
        r.text = std::string(kTexts[pick(8)]) + " " + std::to_string(pick(1000));
        const double amount = double(pick(10'000'000)) / 100.0;
        const bool income = r.cod[1] == 'E' || (r.cod[1] != 'A' && pick(2) == 0);
        (income ? r.einnahme : r.ausgabe) = amount;
        r.ea = income ? 2 : 1;
        rows.push_back(std::move(r));
    }
    return rows;
}

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void exec(sqlite3* db, const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); }

// The journal as a dBase table (held open by a cursor, as the program holds its year)
// and as an in-memory SQLite table, with the same rows.
class Workspace {
public:
    Workspace() {
        journal_ = dir_ / "kr202401.dbf";
        const std::vector<Row> rows = journalRows();
        quendra::test::makeJournal(journal_, rows);
        held_ = std::make_unique<Cursor>(journal_, OpenMode::Shared);

        check(sqlite3_open(":memory:", &db_), db_, "open");
        exec(db_, "PRAGMA case_sensitive_like = ON");
        exec(db_,
             "CREATE TABLE journal (nummer INTEGER, datum TEXT, cod TEXT, codd TEXT, text TEXT, einnahme REAL, "
             "ausgabe REAL, ea INTEGER, eroeffnung INTEGER)");
        exec(db_, "BEGIN");
        sqlite3_stmt* insert = nullptr;
        check(sqlite3_prepare_v2(db_, "INSERT INTO journal VALUES (?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr), db_,
              "insert");
        for (const Row& r : rows) {
            const std::string datum = r.datum.toIso();
            sqlite3_bind_int(insert, 1, r.nummer);
            sqlite3_bind_text(insert, 2, datum.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, r.cod.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4, r.codd.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 5, r.text.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 6, r.einnahme);
            sqlite3_bind_double(insert, 7, r.ausgabe);
            sqlite3_bind_int(insert, 8, r.ea);
            sqlite3_bind_int(insert, 9, r.eroeffnung);
            check(sqlite3_step(insert), db_, "insert");
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        exec(db_, "COMMIT");
        for (const char* field : {"nummer", "cod", "datum", "codd"})
            exec(db_, ("CREATE INDEX j_" + std::string(field) + " ON journal(" + field + ")").c_str());
        exec(db_, "ANALYZE");
    }

    ~Workspace() {
        sqlite3_close(db_);
        held_.reset();
    }

    std::string path() const { return journal_.string(); }
    sqlite3* db() const { return db_; }

private:
    // First, so that the files go only after every cursor on them has closed.
    quendra::test::TempDir temp_;
    fs::path dir_ = temp_.path();
    fs::path journal_;
    std::unique_ptr<Cursor> held_;
    sqlite3* db_ = nullptr;
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

using Param = std::variant<std::string, Date>;

struct Shape {
    const char* name;
    std::string where;  // our text after select * from "<path>"; :p1, :p2 for the parameters
    std::string sqliteWhere;  // the same after SELECT … FROM journal; ?1, ?2
    std::vector<Param> params;
    bool sums = false;
};

const std::string kLiquid = R"(codd like " C01%" or codd like " C02%" or codd like " C03%" or codd like " C04%")";
const std::string kLiquidSqlite =
    "codd LIKE ' C01%' OR codd LIKE ' C02%' OR codd LIKE ' C03%' OR codd LIKE ' C04%'";

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> all = {
        {"liquid_by_codd", " where " + kLiquid + " order by codd", " WHERE " + kLiquidSqlite + " ORDER BY codd", {}},
        {"other_assets_by_cod",
         R"( where cod like " C%" and cod not like " C01%" and cod not like " C02%" and cod not like " C03%" and cod not like " C04%" order by cod)",
         " WHERE cod LIKE ' C%' AND cod NOT LIKE ' C01%' AND cod NOT LIKE ' C02%' AND cod NOT LIKE ' C03%' AND cod "
         "NOT LIKE ' C04%' ORDER BY cod",
         {}},
        {"text_search_by_cod_datum_nummer", R"( where upper(text) like "%" || :p1 || "%" order by cod,datum,nummer)",
         " WHERE upper(text) LIKE '%' || ?1 || '%' ORDER BY cod, datum, nummer", {std::string("LUCE")}},
        {"date_range_by_datum_nummer", " where (datum >= :p1) and (datum <= :p2) order by datum,nummer",
         " WHERE datum >= ?1 AND datum <= ?2 ORDER BY datum, nummer",
         {Date::fromYmd(2024, 3, 1), Date::fromYmd(2024, 3, 31)}},
        {"sums_all", "", "", {}, true},
        {"sums_one_cash_box", " where codd = :p1", " WHERE codd = ?1", {std::string(" C0201")}, true},
    };
    return all;
}

// What a report reads of each row.
struct Readout {
    double numbers = 0;
    std::size_t characters = 0;
};

void runOurs(benchmark::State& state, const Shape& shape) {
    const std::string sql = std::string(shape.sums ? "select sum(einnahme), sum(ausgabe)" : "select *") + " from \"" +
                            workspace().path() + "\"" + shape.where;
    QueryParams params;
    for (std::size_t i = 0; i < shape.params.size(); ++i) {
        std::string name = "p";
        name += std::to_string(i + 1);
        if (const auto* text = std::get_if<std::string>(&shape.params[i])) params.text(name, *text);
        else params.date(name, std::get<Date>(shape.params[i]));
    }
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto r = runSelect(sql, params);
        Readout out;
        if (shape.sums) {
            out.numbers = r->asNumber(std::size_t(0)) + r->asNumber(std::size_t(1));
        } else {
            const std::size_t nummer = r->fieldIndex("nummer"), datum = r->fieldIndex("datum"),
                              cod = r->fieldIndex("cod"), text = r->fieldIndex("text"),
                              einnahme = r->fieldIndex("einnahme"), ausgabe = r->fieldIndex("ausgabe");
            for (r->first(); !r->eof(); r->next()) {
                out.numbers += r->asNumber(nummer) + r->asNumber(einnahme) - r->asNumber(ausgabe) +
                               r->asDate(datum).julianDay();
                out.characters += r->asText(cod).size() + r->asText(text).size();
            }
        }
        rows = r->recordCount();
        benchmark::DoNotOptimize(out);
    }
    state.counters["rows"] = double(rows);
}

void runSqlite(benchmark::State& state, const Shape& shape) {
    sqlite3* db = workspace().db();
    const std::string sql = std::string(shape.sums ? "SELECT sum(einnahme), sum(ausgabe)"
                                                   : "SELECT nummer, datum, cod, text, einnahme, ausgabe") +
                            " FROM journal" + shape.sqliteWhere;
    std::size_t rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        check(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), db, sql.c_str());
        for (std::size_t i = 0; i < shape.params.size(); ++i) {
            const std::string value = std::holds_alternative<std::string>(shape.params[i])
                                          ? std::get<std::string>(shape.params[i])
                                          : std::get<Date>(shape.params[i]).toIso();
            sqlite3_bind_text(stmt, int(i + 1), value.c_str(), -1, SQLITE_TRANSIENT);
        }
        Readout out;
        rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            ++rows;
            if (shape.sums) {
                out.numbers = sqlite3_column_double(stmt, 0) + sqlite3_column_double(stmt, 1);
                continue;
            }
            const std::string datum(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
            const std::string cod(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
            const std::string text(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
            out.numbers += sqlite3_column_int(stmt, 0) + sqlite3_column_double(stmt, 4) -
                           sqlite3_column_double(stmt, 5) + double(datum.size());
            out.characters += cod.size() + text.size();
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(out);
    }
    state.counters["rows"] = double(rows);
}

const bool kRegistered = [] {
    for (const Shape& shape : shapes()) {
        benchmark::RegisterBenchmark((std::string("Query/") + shape.name + "/quendra").c_str(),
                                     [&shape](benchmark::State& s) { runOurs(s, shape); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("Query/") + shape.name + "/sqlite").c_str(),
                                     [&shape](benchmark::State& s) { runSqlite(s, shape); })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
