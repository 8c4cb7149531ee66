#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <variant>
#include <vector>

namespace quendra::spreadsheet {

// A cell holds nothing, a text or a number; there are no formulas and no formats.
using CellValue = std::variant<std::monostate, std::string, double>;

// One sheet's cells, addressed as (row, column) from (1, 1) = A1, the way the diocese's
// offices name them.
class Sheet {
public:
    explicit Sheet(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    // An empty text leaves the cell empty, as a spreadsheet does.
    void setText(std::size_t row, std::size_t column, std::string text);
    void setNumber(std::size_t row, std::size_t column, double value);
    // Empty for a cell never written.
    const CellValue& at(std::size_t row, std::size_t column) const;
    // The last row that has been written to (0 for an empty sheet).
    std::size_t lastRow() const { return rows_.size(); }
    // The cells of a row from column 1, as far as the last written one.
    const std::vector<CellValue>& row(std::size_t row) const;

private:
    CellValue& cell(std::size_t row, std::size_t column);

    std::string name_;
    std::vector<std::vector<CellValue>> rows_;
};

// The year as the workbook shows it, sheets in their order.
struct Workbook {
    Sheet pfarrei{"Pfarrei"};
    Sheet uebertrag{"Uebertrag"};
    Sheet journal{"Journal"};
    Sheet spezifikationen{"Spezifikationen"};
    // After the four the offices' tools read, so that they find them where they were.
    Sheet preventivo{"Preventivo"};
    // Cash boxes, other assets and liabilities at the year's end, signed.
    double netWorth = 0;

    std::array<const Sheet*, 5> sheets() const {
        return {&pfarrei, &uebertrag, &journal, &spezifikationen, &preventivo};
    }
    // "Quendra: parish - 2026/01", from the sheet Pfarrei.
    std::string title() const;
};

}  // namespace quendra::spreadsheet
