#pragma once

#include <stdexcept>

namespace quendra::spreadsheet {

// A workbook that could not be saved, with an Italian message naming the file and why.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace quendra::spreadsheet
