#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

// The year's budget ("preventivo"): the KV table beside the journal, one row per income
// or expense sub-account with a planned amount. A year without the file has an empty
// budget; the first amount written creates it.
namespace quendra::budget {

struct Planned {
    double amount = 0;  // positive on both sides: income expected, expense allowed
    std::string note;
};

// Planned amounts by sub-account code (" E0101").
using Budget = std::map<std::string, Planned, std::less<>>;

// The budget beside a journal: the "KR" before its year number turned into "KV" (same
// case), so "kr202601.dbf" gives "kv202601.dbf" and a received "12345KR202601.dbf" gives
// "12345KV202601.dbf"; spelt as on disk.
std::filesystem::path budgetPathOf(const std::filesystem::path& journal);

// The rows of the table; empty when the file is missing. Throws DbError for a file
// that is not a readable budget.
Budget readBudget(const std::filesystem::path& table);

// Writes one account's planned amount at once (durable when it returns), creating the
// table with its index when missing. An amount of 0 without a note removes the row.
void writePlanned(const std::filesystem::path& table, std::string_view code, const Planned& planned);

// Writes every amount of a proposal (the other rows stay).
void writeAll(const std::filesystem::path& table, const Budget& amounts);

}  // namespace quendra::budget
