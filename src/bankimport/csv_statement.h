#pragma once

#include "bankimport/csv_columns.h"
#include "bankimport/csv_table.h"
#include "bankimport/statement.h"

namespace quendra::bankimport {

// The rows after the heading rows as entries. A row without a readable date that has
// no amount or begins with "Saldo" (a balance line, a footer) is passed over; any other
// row that cannot be read is an error of its line.
Statement readCsvStatement(const CsvTable& table, const CsvColumns& columns);

}  // namespace quendra::bankimport
