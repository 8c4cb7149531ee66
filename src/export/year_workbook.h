#pragma once

#include "export/workbook.h"

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace quendra::spreadsheet {

// How far a workbook has come, for a progress bar.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    // Once, before the first row is read: the bar's end, twice the number of movements
    // that went through a cash box.
    virtual void started(std::size_t maximum) = 0;
    // After every journal row read in any pass: 2 after the first row, then 3, 4, …
    virtual void advanced(std::size_t count) = 0;
};

// The workbook of a year: the parish, the carry-over balances per cash box, other asset
// and liability, every journal row that went through a cash box and every other-asset and
// liability movement once more, the totals per account and group, and the budget beside
// the actual amounts. yearNumber ("202601") names the year. Reads the journal and the
// chart and changes neither; throws DbError.
Workbook buildWorkbook(const std::filesystem::path& journalPath, const std::filesystem::path& chartPath,
                       std::string_view yearNumber, ExportProgress* progress = nullptr);

}  // namespace quendra::spreadsheet
