#pragma once

#include "bankimport/csv_columns.h"
#include "bankimport/csv_table.h"
#include "bankimport/statement.h"

#include <filesystem>
#include <optional>

namespace quendra::bankimport {

enum class StatementKind { NotAStatement, Camt053, Csv };

// A bank's file as read: its kind, for CSV the split table and the columns used (the
// ones remembered for the bank, else those its headings name; nullopt when the user
// must choose them), and the entries with the errors of their lines.
struct StatementFile {
    StatementKind kind = StatementKind::NotAStatement;
    CsvTable table;
    std::optional<CsvColumns> columns;
    Statement statement;
};

// Reads a camt.053 or a CSV export, UTF-8 (with or without byte-order mark) or
// Windows-1252. Entries of year `year` only; other currencies than EUR, amounts the
// journal cannot hold and zero amounts are errors of their lines. Every entry gets a
// reference: the bank's own, or one made from its date, amount, side and text.
StatementFile readStatementFile(const std::filesystem::path& file, int year,
                                const std::optional<CsvColumns>& remembered);

// A CSV read again with the columns the user chose.
void useColumns(StatementFile& file, const CsvColumns& columns, int year);

// The largest amount the journal's amount fields hold.
double largestJournalAmount();

}  // namespace quendra::bankimport
