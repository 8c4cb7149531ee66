#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

struct DbfHeader;
class OpenTable;

// Every problem of a table and its production index, in Italian, one per line: the
// header, byte 28 against the .mdx, each tag's structure, key order, one key per record,
// record numbers and keys equal to the fields. Anomalies that leave the data readable
// (the end-of-file byte, the version and code page bytes, lower-case field names, a
// tag's keys per node) come as warnings, lines that start with kWarning. Empty when all
// is well. Reads only.
std::vector<std::string> checkTable(const std::filesystem::path& path);

// Record numbers (from 1) of the rows whose flag byte or a field cannot be read.
std::vector<std::uint32_t> unreadableRows(const DbfHeader& header, std::string_view rows);

// Throws DbError(DamagedRows) naming the first unreadable rows of the open table, so that
// no rebuild makes their damage permanent.
void refuseUnreadableRows(const OpenTable& table);

inline constexpr std::string_view kWarning = "avviso: ";
inline bool isWarning(std::string_view problem) { return problem.starts_with(kWarning); }

}  // namespace quendra::storage
