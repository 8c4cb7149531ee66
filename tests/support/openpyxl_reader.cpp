#include "support/openpyxl_reader.h"

#include "support/json_value.h"
#include "support/run_program.h"

#include <sstream>
#include <stdexcept>

namespace quendra::test {

namespace {

const std::filesystem::path kPython = "/usr/bin/python3";

int rowOf(const std::string& reference) {
    const std::size_t digits = reference.find_first_of("0123456789");
    return digits == std::string::npos ? 0 : std::stoi(reference.substr(digits));
}

}  // namespace

void PrintTo(const XlsxCell& cell, std::ostream* out) {
    if (cell.type.empty()) {
        *out << "(empty)";
    } else if (cell.type == "n") {
        *out << "number " << cell.number;
    } else {
        *out << cell.type << " \"" << cell.text << "\"";
    }
}

XlsxCell xlsxText(std::string text) { return {"s", std::move(text), 0}; }
XlsxCell xlsxNumber(double value) { return {"n", {}, value}; }

const XlsxCell& XlsxSheet::at(std::string_view reference) const {
    const auto found = cells.find(std::string(reference));
    return found == cells.end() ? kXlsxEmpty : found->second;
}

int XlsxSheet::lastRow() const {
    int last = 0;
    for (const auto& [reference, cell] : cells) last = std::max(last, rowOf(reference));
    return last;
}

bool openpyxlAvailable() {
    std::error_code ec;
    if (!std::filesystem::exists(kPython, ec)) return false;
    return runProgram(kPython, {"-c", "import openpyxl"}).exitCode == 0;
}

std::vector<XlsxSheet> readWithOpenpyxl(const std::filesystem::path& workbook) {
    const ProgramResult run = runProgram(kPython, {QUENDRA_SOURCE_DIR "/tests/support/openpyxl_dump.py", workbook.string()});
    if (run.exitCode != 0) throw std::runtime_error("openpyxl refused " + workbook.string() + ":\n" + run.err);
    std::vector<XlsxSheet> sheets;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        const JsonValue sheet = parseJson(line);
        XlsxSheet& read = sheets.emplace_back();
        read.name = sheet["name"].text;
        for (const auto& [reference, cell] : sheet["cells"].members) {
            const JsonValue& value = cell.items.at(1);
            read.cells[reference] = {cell.items.at(0).text, value.text, value.number};
        }
    }
    return sheets;
}

}  // namespace quendra::test
