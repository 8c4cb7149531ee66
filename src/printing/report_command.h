#pragma once

#include "printing/report_options.h"
#include "printing/report_year.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::printing {

// A command line quendra-report cannot run, with the Italian line it prints.
class ReportCommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Not a printed report: the year as the workbook of the export, written to --xlsx.
inline constexpr std::string_view kWorkbookName = "cartella";

struct ReportCommand {
    bool help = false;
    std::string report;
    ReportOptions options;
    ReportYear year;
    std::filesystem::path pdf;
    std::filesystem::path xlsx;
    // The journal and chart pair as received: no data directory of ours to write into.
    bool filePair = false;

    bool workbook() const { return report == kWorkbookName; }
};

// Reads the arguments (without the program name):
//   [--data DIR] [--year YYYYNN] REPORT [OPTIONS] --pdf FILE
//   --journal KR.dbf --chart KW.dbf [--year YYYYNN] REPORT [OPTIONS] --pdf FILE
// or, for the workbook, cartella --xlsx FILE in place of REPORT [OPTIONS] --pdf FILE.
// DIR defaults to defaultDataDir and the year to the current year of DIR's tovald.INI.
// Checks that the report exists and is built and that the year's files are there.
ReportCommand parseReportCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultDataDir);

// The --help text.
std::string reportCommandHelp();

}  // namespace quendra::printing
