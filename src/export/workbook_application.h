#pragma once

#include <filesystem>
#include <string_view>

namespace quendra::spreadsheet {

// libxlsxwriter names "Microsoft Excel" as the application that wrote a workbook; an
// office's properties dialog should name us. Copies the workbook `from` into `to` (an
// existing file, whose mode is kept) with that one name changed, every other part
// copied byte for byte. Returns false when either file cannot be read or written.
bool copyNamingApplication(const std::filesystem::path& from, const std::filesystem::path& to,
                           std::string_view application);

}  // namespace quendra::spreadsheet
