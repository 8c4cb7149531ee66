#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quendra::spreadsheet {

// The names the chart gives an account code: those of the first chart row whose code is
// not less than it (the account itself when the chart has it). The chart is read once
// into memory, so it needs no index: a chart received without its .mdx works as well.
class ChartNames {
public:
    struct Row {
        std::string cod;
        std::string text;   // TEXT: the account's own name (the parish on the header row)
        std::string texth;  // TEXTH: its main account's name (the place)
        std::string texta;  // TEXTA: its type (the deanery)
    };

    // Throws DbError.
    explicit ChartNames(const std::filesystem::path& chartPath);

    // Empty texts when no row has a code that large.
    const Row& of(const std::string& code) const;
    // The parish header row: the chart's first row in code order.
    const Row& parish() const;

private:
    std::vector<Row> rows_;  // by code; rows with equal codes in file order
};

}  // namespace quendra::spreadsheet
