#include "support/demo_report_year.h"

#include "support/file_contents.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

namespace quendra::test {

DemoReportYear::DemoReportYear(int movements) {
    const auto made = runProgram(QUENDRA_DB_TOOL, {"demo", data.string(), "--year", "2026", "--movements",
                                                   std::to_string(movements), "--seed", "7"});
    EXPECT_EQ(made.exitCode, 0) << made.err;
}

std::string pdfText(const std::filesystem::path& pdf) {
    const auto text = pdf.string() + ".txt";
    const auto result = runProgram("/usr/bin/pdftotext", {"-layout", pdf.string(), text});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.exitCode == 0 ? readFile(text) : std::string();
}

}  // namespace quendra::test
