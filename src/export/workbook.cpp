#include "export/workbook.h"

#include <algorithm>
#include <cassert>

namespace quendra::spreadsheet {

void Sheet::setText(std::size_t row, std::size_t column, std::string text) {
    if (text.empty()) {
        cell(row, column) = std::monostate();
    } else {
        cell(row, column) = std::move(text);
    }
}

void Sheet::setNumber(std::size_t row, std::size_t column, double value) { cell(row, column) = value; }

const CellValue& Sheet::at(std::size_t row, std::size_t column) const {
    static const CellValue empty;
    if (row == 0 || row > rows_.size()) return empty;
    const std::vector<CellValue>& cells = rows_[row - 1];
    return column == 0 || column > cells.size() ? empty : cells[column - 1];
}

std::string Workbook::title() const {
    const auto text = [&](std::size_t row) {
        const auto* value = std::get_if<std::string>(&pfarrei.at(row, 2));
        return value != nullptr ? *value : std::string();
    };
    return "Quendra: " + text(1) + " - " + text(4);
}

const std::vector<CellValue>& Sheet::row(std::size_t row) const {
    static const std::vector<CellValue> none;
    return row == 0 || row > rows_.size() ? none : rows_[row - 1];
}

CellValue& Sheet::cell(std::size_t row, std::size_t column) {
    assert(row >= 1 && column >= 1);
    if (rows_.size() < row) rows_.resize(row);
    std::vector<CellValue>& cells = rows_[row - 1];
    if (cells.size() < column) {
        // Rows are filled from left to right: one allocation for the widest row written.
        constexpr std::size_t kWidestRow = 12;
        if (cells.capacity() < column) cells.reserve(std::max(column, kWidestRow));
        cells.resize(column);
    }
    return cells[column - 1];
}

}  // namespace quendra::spreadsheet
