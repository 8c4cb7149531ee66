#pragma once

#include "support/temp_dir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quendra::test {

// A demo data directory made by the maintenance tool: year 2026/01 in dir/krw.
struct DemoReportYear {
    explicit DemoReportYear(int movements = 40);
    TempDir dir;
    std::filesystem::path data = dir / "krw";
};

// The text of a PDF as pdftotext -layout gives it ("" and a test failure when it cannot).
std::string pdfText(const std::filesystem::path& pdf);

}  // namespace quendra::test
