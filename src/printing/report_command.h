#pragma once

#include "printing/report_options.h"
#include "printing/report_year.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace quendra::printing {

// A command line quendra-report cannot run, with the Italian line it prints.
class ReportCommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ReportCommand {
    bool help = false;
    std::string report;
    ReportOptions options;
    ReportYear year;
    std::filesystem::path pdf;
    // The journal and chart pair as received: no data directory of ours to write into.
    bool filePair = false;
};

// Reads the arguments (without the program name):
//   [--data DIR] [--year YYYYNN] REPORT [OPTIONS] --pdf FILE
//   --journal KR.dbf --chart KW.dbf [--year YYYYNN] REPORT [OPTIONS] --pdf FILE
// DIR defaults to defaultDataDir and the year to the current year of DIR's tovald.INI.
// Checks that the report exists and is built and that the year's files are there.
ReportCommand parseReportCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultDataDir);

// The --help text.
std::string reportCommandHelp();

}  // namespace quendra::printing
