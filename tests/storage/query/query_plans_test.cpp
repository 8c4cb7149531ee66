#include "storage/query/query.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace quendra::storage {
namespace {

using Row = test::Movement;

// A condition both as query text and as the same rule written in C++.
struct Atom {
    std::string sql;
    std::function<bool(const Row&)> holds;
};

bool startsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class RandomQueries {
public:
    explicit RandomQueries(unsigned seed) : rng_(seed) {}

    std::vector<Row> rows(int count) {
        std::vector<int> numbers(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) numbers[std::size_t(i)] = i + 1;
        std::shuffle(numbers.begin(), numbers.end(), rng_);
        std::vector<Row> out;
        for (int i = 0; i < count; ++i) {
            Row r;
            r.nummer = numbers[std::size_t(i)];
            r.datum = pick(8) == 0 ? Date() : test::ymd(2015, 1 + pick(3), 1 + pick(28));
            r.cod = code();
            r.codd = code();
            r.text = pick(2) ? "Offerte " + word() : word() + " e " + word();
            r.einnahme = pick(3) == 0 ? 0 : pick(50000) / 100.0;
            r.ausgabe = pick(3) == 0 ? 0 : pick(50000) / 100.0;
            out.push_back(r);
        }
        return out;
    }

    Atom condition(int depth) {
        const int kind = depth > 0 ? pick(10) : pick(7);
        if (kind < 7) return atom();
        Atom a = condition(depth - 1);
        if (kind == 7) return {"not (" + a.sql + ")", [h = a.holds](const Row& r) { return !h(r); }};
        Atom b = condition(depth - 1);
        if (kind == 8)
            return {"(" + a.sql + ") and (" + b.sql + ")", [x = a.holds, y = b.holds](const Row& r) { return x(r) && y(r); }};
        return {"(" + a.sql + ") or " + b.sql, [x = a.holds, y = b.holds](const Row& r) { return x(r) || y(r); }};
    }

    std::vector<std::string> order() {
        std::vector<std::string> fields = {"cod", "codd", "datum", "nummer", "text", "einnahme"};
        std::shuffle(fields.begin(), fields.end(), rng_);
        fields.resize(std::size_t(pick(4)));
        return fields;
    }

    QueryParams params;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string code() {
        static const char* const kCodes[] = {" C0101", " C0102", " C0201", " C0301", " C0401", " C0501", " C0502",
                                             " A0101", " A0701", " E0201", " P0101", "HA0100", " V0101"};
        return kCodes[pick(13)];
    }
    std::string word() {
        static const char* const kWords[] = {"luce", "gas", "Candele", "FIORI", "acqua", "Messa", "banca", "x"};
        return kWords[pick(8)];
    }
    std::string prefix() {
        static const char* const kPrefixes[] = {" C", " C01", " C0101", " A", "H", " ", " C05", " Z"};
        return kPrefixes[pick(8)];
    }

    Atom atom() {
        const std::string field = pick(2) ? "cod" : "codd";
        const auto get = [field](const Row& r) { return field == "cod" ? r.cod : r.codd; };
        switch (pick(7)) {
            case 0: {
                const std::string p = prefix();
                return {field + " like \"" + p + "%\"", [=](const Row& r) { return startsWith(get(r), p); }};
            }
            case 1: {
                const std::string p = prefix();
                return {field + " not like \"" + p + "%\"", [=](const Row& r) { return !startsWith(get(r), p); }};
            }
            case 2: {
                const std::string c = code();
                const int op = pick(3);
                const char* ops[] = {" = ", " < ", " >= "};
                return {field + ops[op] + "\"" + c + "\"", [=](const Row& r) {
                            return op == 0 ? get(r) == c : op == 1 ? get(r) < c : get(r) >= c;
                        }};
            }
            case 3: {
                const Date d1 = test::ymd(2015, 1 + pick(3), 1 + pick(28));
                const Date d2 = d1.addDays(pick(40));
                const std::string n1 = "d" + std::to_string(next_++);
                const std::string n2 = "d" + std::to_string(next_++);
                params.date(n1, d1).date(n2, d2);
                return {"(datum >= :" + n1 + ") and (datum <= :" + n2 + ")",
                        [=](const Row& r) { return r.datum >= d1 && r.datum <= d2; }};
            }
            case 4: {
                const Date d = pick(4) == 0 ? Date() : test::ymd(2015, 1 + pick(3), 1 + pick(28));
                const std::string n = "d" + std::to_string(next_++);
                params.date(n, d);
                return {"datum < :" + n, [=](const Row& r) { return r.datum < d; }};
            }
            case 5: {
                const int n = pick(400);
                return {"nummer < " + std::to_string(n), [=](const Row& r) { return r.nummer < n; }};
            }
            default: {
                const std::string w = upper(word());
                const std::string n = "t" + std::to_string(next_++);
                params.text(n, w);
                return {"upper(text) like \"%\" || :" + n + " || \"%\"",
                        [=](const Row& r) { return upper(r.text).find(w) != std::string::npos; }};
            }
        }
    }

    std::mt19937 rng_;
    int next_ = 0;
};

// The expected order: stable on record order, ascending on each field.
bool before(const Row& a, const Row& b, const std::vector<std::string>& fields) {
    for (const std::string& f : fields) {
        if (f == "cod" && a.cod != b.cod) return a.cod < b.cod;
        if (f == "codd" && a.codd != b.codd) return a.codd < b.codd;
        if (f == "datum" && a.datum != b.datum) return a.datum < b.datum;
        if (f == "nummer" && a.nummer != b.nummer) return a.nummer < b.nummer;
        if (f == "text" && a.text != b.text) return a.text < b.text;
        if (f == "einnahme" && a.einnahme != b.einnahme) return a.einnahme < b.einnahme;
    }
    return false;
}

std::vector<int> numbersOf(QueryResult& r) {
    std::vector<int> out;
    for (r.first(); !r.eof(); r.next()) out.push_back(int(r.asInteger("nummer")));
    return out;
}

// Tag ranges, tag walks, run sorts and plain scans must all give what the rule says.
TEST(QueryPlans, RandomQueriesGiveTheSameRowsWithTagsWithoutTagsAndByTheRule) {
    test::TempDir dir;
    RandomQueries gen(20150105);
    const std::vector<Row> rows = gen.rows(300);
    test::makeJournal(dir / "tags.dbf", rows, true);
    test::makeJournal(dir / "scan.dbf", rows, false);
    for (int round = 0; round < 300; ++round) {
        const Atom where = gen.condition(3);
        const std::vector<std::string> order = gen.order();
        std::string tail = " where " + where.sql;
        for (std::size_t i = 0; i < order.size(); ++i) tail += (i == 0 ? " order by " : ", ") + order[i];

        std::vector<Row> expected;
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(expected), where.holds);
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const Row& a, const Row& b) { return before(a, b, order); });
        std::vector<int> expectedNumbers;
        for (const Row& r : expected) expectedNumbers.push_back(r.nummer);

        for (const char* table : {"tags.dbf", "scan.dbf"}) {
            const auto result = runSelect("select * from \"" + (dir / table).string() + "\"" + tail, gen.params);
            ASSERT_EQ(numbersOf(*result), expectedNumbers) << table << ": " << tail;
        }
    }
}

}  // namespace
}  // namespace quendra::storage
