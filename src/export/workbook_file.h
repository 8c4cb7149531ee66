#pragma once

#include "export/workbook.h"

#include <filesystem>
#include <span>
#include <string>

namespace quendra::spreadsheet {

// Saves the workbook as an .xlsx file, making its folder when missing. The file is
// written under a temporary name beside the target and renamed over it only when
// whole, so a failure leaves an older file as it was. Throws ExportError.
void saveWorkbook(const Workbook& book, const std::filesystem::path& target);

// The same for any sheets, in their order, under the document title given.
void saveSheets(std::span<const Sheet* const> sheets, const std::string& title, const std::filesystem::path& target);

}  // namespace quendra::spreadsheet
