#include "tools/csv.h"

#include <stdexcept>

namespace quendra::tools {

void writeCsvRow(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) out << ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            out << cell;
            continue;
        }
        out << '"';
        for (char c : cell) {
            if (c == '"') out << '"';
            out << c;
        }
        out << '"';
    }
    out << "\r\n";
}

std::optional<std::vector<std::string>> readCsvRow(std::istream& in) {
    if (in.peek() == std::char_traits<char>::eof()) return std::nullopt;
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
        if (quoted) {
            if (c == '"') {
                if (in.peek() == '"') {
                    cells.back().push_back('"');
                    in.get();
                } else {
                    quoted = false;
                }
            } else {
                cells.back().push_back(char(c));
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
        } else if (c == '\n') {
            return cells;
        } else if (c == '\r') {
            if (in.peek() == '\n') in.get();
            return cells;
        } else {
            cells.back().push_back(char(c));
        }
    }
    if (quoted) throw std::runtime_error("CSV non valido: virgolette non chiuse");
    return cells;
}

}  // namespace quendra::tools
