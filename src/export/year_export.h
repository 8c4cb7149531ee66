#pragma once

#include "export/year_workbook.h"

#include <filesystem>
#include <string_view>

namespace quendra::spreadsheet {

// The name the workbook gets in the user's documents folder.
inline constexpr std::string_view kWorkbookFileName = "tovald.mappe.xlsx";

// Builds the year's workbook (yearNumber: "202601") and saves it as target. Throws DbError when the year
// cannot be read and ExportError when the file cannot be saved; an older file at target
// stays as it was either way.
void exportYear(const std::filesystem::path& journalPath, const std::filesystem::path& chartPath,
                std::string_view yearNumber, const std::filesystem::path& target, ExportProgress* progress = nullptr);

}  // namespace quendra::spreadsheet
