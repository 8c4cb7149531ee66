#pragma once

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::test {

// A cell as openpyxl reads it.
struct XlsxCell {
    std::string type;  // "s" text, "n" number, "f" formula …; "" for an empty cell
    std::string text;
    double number = 0;

    friend bool operator==(const XlsxCell&, const XlsxCell&) = default;
};

void PrintTo(const XlsxCell& cell, std::ostream* out);

XlsxCell xlsxText(std::string text);
XlsxCell xlsxNumber(double value);
inline const XlsxCell kXlsxEmpty{};

struct XlsxSheet {
    std::string name;
    std::map<std::string, XlsxCell> cells;  // by reference, "A1"

    // An empty cell for a reference that holds nothing.
    const XlsxCell& at(std::string_view reference) const;
    // The largest row number that holds a value (0 for an empty sheet).
    int lastRow() const;
};

// Whether /usr/bin/python3 can import openpyxl.
bool openpyxlAvailable();

// The sheets in the workbook's order. Throws std::runtime_error with openpyxl's complaint
// when it refuses the file.
std::vector<XlsxSheet> readWithOpenpyxl(const std::filesystem::path& workbook);

}  // namespace quendra::test
