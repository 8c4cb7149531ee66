#include "export/year_export.h"

#include "export/workbook_file.h"

namespace quendra::spreadsheet {

void exportYear(const std::filesystem::path& journalPath, const std::filesystem::path& chartPath,
                std::string_view yearNumber, const std::filesystem::path& target, ExportProgress* progress) {
    saveWorkbook(buildWorkbook(journalPath, chartPath, yearNumber, progress), target);
}

}  // namespace quendra::spreadsheet
