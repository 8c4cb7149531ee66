#pragma once

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace quendra::test {

// A chart-of-accounts row as the tests write and read it (all fields are text).
struct ChartRow {
    std::string cod = {};
    std::string text = {};
    std::string texth = {};
    std::string texta = {};
    std::string codalfa = {};
    std::string k = {};
    std::string z = {};
    std::string close = {};
    std::string art = {};

    friend bool operator==(const ChartRow&, const ChartRow&) = default;
};

void PrintTo(const ChartRow& row, std::ostream* out);

// Creates a chart table (the program's structure) with the rows in this physical order
// and its two tags.
void makeChart(const std::filesystem::path& path, const std::vector<ChartRow>& rows);

// The visible rows of a chart in COD order (physical order when it has no index).
std::vector<ChartRow> readChart(const std::filesystem::path& path);

// The same rows keyed by COD (codes assumed unique).
std::map<std::string, ChartRow> readChartByCode(const std::filesystem::path& path);

// The standard chart source of the diocese, "it" or "de" (data/chart_<language>.csv).
std::filesystem::path standardChartSource(const std::string& language);

// Loads a standard chart source into a new chart table with the maintenance tool, the
// way the build makes the templates. Fails the test when the tool fails.
void loadStandardChart(const std::string& language, const std::filesystem::path& path);

}  // namespace quendra::test
