#pragma once

#include <filesystem>
#include <string>
#include <vector>

// What a diocesan treasurer looks for in a year that reads whole, in Italian, one line
// each: a cash box or bank account below zero at the year's end, rows whose account or
// cash box the chart lacks, a year in the file names other than the one info.txt gives.
namespace quendra::curia {

// fileYear is the year of the file names ("2026"), infoYear the one of info.txt.
// Throws DbError when a table cannot be read.
std::vector<std::string> yearWarnings(const std::filesystem::path& journal, const std::filesystem::path& chart,
                                      const std::string& fileYear, const std::string& infoYear);

}  // namespace quendra::curia
