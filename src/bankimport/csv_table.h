#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quendra::bankimport {

// A CSV export split into fields. Rows that are wholly empty are left out; line is the
// file line where each row starts.
struct CsvTable {
    char separator = ';';
    std::vector<std::vector<std::string>> rows;
    std::vector<int> lines;
};

// The separator is the one of ';', ',', tab and '|' that splits most of the first lines
// into the same number of fields. Quoted fields may hold separators and line breaks.
CsvTable splitCsv(std::string_view utf8);

}  // namespace quendra::bankimport
