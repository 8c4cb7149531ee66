#include "storage/query/query.h"
#include "storage/dbase/open_table.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/field_codec.h"
#include "storage/query/compiler.h"
#include "storage/query/error.h"
#include "storage/query/order.h"
#include "storage/query/parser.h"

#include <algorithm>

namespace quendra::storage {

namespace {

struct Matches {
    std::vector<std::uint32_t> recnos;
    std::optional<std::size_t> tag;  // the tag whose order recnos are in; none: record order
};

Matches findMatches(const OpenTable& table, const Predicate* where) {
    Matches m;
    if (where) {
        if (auto span = where->narrow(table)) {
            m.tag = span->tag;
            const TagIndex& tag = table.tagAt(span->tag);
            for (const auto& [first, last] : span->ranges) {
                for (std::size_t pos = first; pos < last; ++pos) {
                    // Rows in key order lie all over memory: ask for a later one early.
                    if (pos + kRowsAhead < last) table.prefetchRecord(tag.recnoAt(pos + kRowsAhead));
                    const std::uint32_t recno = tag.recnoAt(pos);
                    if (!table.isDeleted(recno) && readInRow(table.path(), recno, [&] { return where->test(table.record(recno)); }))
                        m.recnos.push_back(recno);
                }
            }
            return m;
        }
    }
    for (std::uint32_t recno = 1; recno <= table.physicalCount(); ++recno) {
        const std::string_view record = table.record(recno);
        if (!table.isDeleted(recno) && (!where || readInRow(table.path(), recno, [&] { return where->test(record); })))
            m.recnos.push_back(recno);
    }
    return m;
}

Cursor openTable(std::string_view sql, const Statement& s) {
    try {
        return Cursor(s.table, OpenMode::Shared);
    } catch (const DbError& e) {
        // A name that leads nowhere is the query's mistake; a table that is there but
        // damaged or in use is not, and its message stands alone.
        std::error_code ec;
        if (std::filesystem::exists(s.table, ec) || ec) throw;
        throw queryError(sql, s.tableOffset, e.what(), e.kind());
    }
}

}  // namespace

std::string quotedTable(const std::filesystem::path& table) {
    std::string quoted = "\"";
    for (const char c : table.string()) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

std::unique_ptr<QueryResult> runSelect(std::string_view sql, const QueryParams& params) {
    const Statement s = parseQuery(sql);
    if (s.kind == Statement::Kind::Delete) throw queryError(sql, 0, "attesa una select");
    const Cursor cursor = openTable(sql, s);
    const OpenTable& table = *cursor.table();
    const CompiledQuery q = compileQuery(sql, s, table, params);
    Matches m = findMatches(table, q.where.get());
    if (s.kind == Statement::Kind::Select) return recordSetResult(table, orderRows(table, std::move(m.recnos), m.tag, q.orderBy));

    // Summed in record order, so the last bits do not depend on the way the rows were found.
    if (m.tag) std::sort(m.recnos.begin(), m.recnos.end());
    std::vector<double> sums(q.sums.size(), 0.0);
    for (const std::uint32_t recno : m.recnos)
        for (std::size_t i = 0; i < q.sums.size(); ++i)
            sums[i] += readInRow(table.path(), recno, [&] { return table.numberOf(recno, q.sums[i]); });
    return sumResult(table, q.sums, std::move(sums));
}

std::size_t runDelete(std::string_view sql, const QueryParams& params) {
    const Statement s = parseQuery(sql);
    if (s.kind != Statement::Kind::Delete) throw queryError(sql, 0, "attesa una delete");
    Cursor cursor = openTable(sql, s);
    const CompiledQuery q = compileQuery(sql, s, *cursor.table(), params);
    Matches m = findMatches(*cursor.table(), q.where.get());
    std::sort(m.recnos.begin(), m.recnos.end());
    DeferredSync sync;  // one statement, made durable once
    std::size_t deleted = 0;
    for (const std::uint32_t recno : m.recnos) {
        if (!cursor.gotoRecord(recno)) continue;
        cursor.deleteRecord();
        ++deleted;
    }
    sync.finish();
    return deleted;
}

}  // namespace quendra::storage
