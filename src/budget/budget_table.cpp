#include "budget/budget_table.h"

#include "printing/print_text.h"
#include "storage/budget_record.h"
#include "storage/dbase/cursor.h"
#include "storage/index_repair.h"
#include "storage/year_creation.h"
#include "storage/year_files.h"

#include <cctype>

namespace quendra::budget {

namespace {

namespace record = storage::budget;
using storage::Cursor;
using storage::OpenMode;
using storage::YearTable;

// The table open on its code tag, made first when the year has none yet.
Cursor openForWriting(const std::filesystem::path& table) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(table, error)) {
        storage::createBudget(table.parent_path(), table.filename().string());
    } else {
        storage::ensureYearTableSound(YearTable::Budget, table.parent_path(), table.filename().string());
    }
    Cursor cursor(table, OpenMode::Shared);
    cursor.setOrder(record::kCod);
    return cursor;
}

void write(Cursor& cursor, std::string_view code, const Planned& planned) {
    const bool found = cursor.findKey(std::string(code));
    if (planned.amount == 0 && planned.note.empty()) {
        if (found) cursor.deleteRecord();
        return;
    }
    if (found) {
        cursor.edit();
    } else {
        cursor.append();
        cursor.setText(record::kCod, code);
    }
    cursor.setNumber(record::kPrevisto, planned.amount);
    cursor.setText(record::kNota, planned.note);
    cursor.post();
}

}  // namespace

std::filesystem::path budgetPathOf(const std::filesystem::path& journal) {
    std::string name = journal.filename().string();
    for (std::size_t at = name.size() >= 8 ? name.size() - 8 + 1 : 0; at-- > 0;) {
        const std::string_view kr = std::string_view(name).substr(at, 2);
        bool digits = true;
        for (std::size_t i = at + 2; i < at + 8; ++i) digits = digits && std::isdigit(static_cast<unsigned char>(name[i]));
        if (digits && (kr == "kr" || kr == "KR" || kr == "Kr" || kr == "kR")) {
            name[at + 1] = name[at + 1] == 'r' ? 'v' : 'V';
            break;
        }
    }
    return storage::resolveCaseBlind(journal.parent_path(), name);
}

Budget readBudget(const std::filesystem::path& table) {
    Budget budget;
    std::error_code error;
    if (!std::filesystem::is_regular_file(table, error)) return budget;
    Cursor cursor(table, OpenMode::Shared);
    for (cursor.first(); !cursor.eof(); cursor.next()) {
        const std::string code = cursor.asText(record::kCod).substr(0, 6);
        Planned& planned = budget[code];
        // A code twice (written by another tool) counts once per row, as a sum would.
        planned.amount += cursor.asNumber(record::kPrevisto);
        if (planned.note.empty()) planned.note = printing::trimRight(cursor.asText(record::kNota));
    }
    return budget;
}

void writePlanned(const std::filesystem::path& table, std::string_view code, const Planned& planned) {
    Cursor cursor = openForWriting(table);
    write(cursor, code, planned);
}

void writeAll(const std::filesystem::path& table, const Budget& amounts) {
    Cursor cursor = openForWriting(table);
    for (const auto& [code, planned] : amounts) write(cursor, code, planned);
}

}  // namespace quendra::budget
