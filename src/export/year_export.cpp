#include "export/year_export.h"

#include "export/workbook_file.h"

namespace quendra::spreadsheet {

void exportYear(const std::filesystem::path& journalPath, const std::filesystem::path& chartPath,
                const std::filesystem::path& target, ExportProgress* progress) {
    saveWorkbook(buildWorkbook(journalPath, chartPath, progress), target);
}

}  // namespace quendra::spreadsheet
