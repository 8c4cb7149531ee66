#pragma once

#include "export/workbook.h"

#include <filesystem>

namespace quendra::spreadsheet {

// The sheet "Preventivo": a heading row, then every income and expense sub-account that
// is planned or was booked, income first, in code order: code, text, planned, actual,
// difference (actual - planned). The budget is the file beside the journal; none gives
// planned amounts of 0.
void fillBudgetSheet(Sheet& sheet, const std::filesystem::path& journalPath, const std::filesystem::path& chartPath);

}  // namespace quendra::spreadsheet
