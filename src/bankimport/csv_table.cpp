#include "bankimport/csv_table.h"

#include <csv.h>

#include <map>
#include <memory>

namespace quendra::bankimport {

namespace {

constexpr char kSeparators[] = {';', ',', '\t', '|'};
constexpr int kSampleLines = 30;

// Separators outside quotes on one line.
int countOutsideQuotes(std::string_view line, char separator) {
    int count = 0;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == separator && !quoted) ++count;
    }
    return count;
}

char guessSeparator(std::string_view text) {
    std::vector<std::string_view> sample;
    for (std::size_t start = 0; start < text.size() && int(sample.size()) < kSampleLines;) {
        const auto end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
        if (line.find_first_not_of(" \t\r") != std::string_view::npos) sample.push_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    char best = ';';
    int bestScore = 0;
    for (const char separator : kSeparators) {
        std::map<int, int> lineCounts;  // fields per line -> lines
        for (std::string_view line : sample) {
            if (const int n = countOutsideQuotes(line, separator); n > 0) ++lineCounts[n];
        }
        int score = 0;
        for (const auto& [fields, lines] : lineCounts) score = std::max(score, lines);
        if (score > bestScore) {
            best = separator;
            bestScore = score;
        }
    }
    return best;
}

struct Collector {
    CsvTable table;
    std::vector<std::string> row;
    int line = 1;
    int rowLine = 0;
};

void endField(void* data, std::size_t size, void* context) {
    auto& c = *static_cast<Collector*>(context);
    if (c.row.empty()) c.rowLine = c.line;
    c.row.emplace_back(data ? static_cast<const char*>(data) : "", data ? size : 0);
}

void endRow(int, void* context) {
    auto& c = *static_cast<Collector*>(context);
    bool empty = true;
    for (const std::string& field : c.row) {
        if (field.find_first_not_of(" \t") != std::string::npos) empty = false;
    }
    if (!empty) {
        c.table.rows.push_back(std::move(c.row));
        c.table.lines.push_back(c.rowLine);
    }
    c.row.clear();
}

// Blanks around an unquoted field are dropped; a tab may be the separator.
int isBlank(unsigned char c) { return c == ' ' ? 1 : 0; }

}  // namespace

CsvTable splitCsv(std::string_view text) {
    Collector collector;
    collector.table.separator = guessSeparator(text);
    csv_parser parser;
    csv_init(&parser, 0);
    const std::unique_ptr<csv_parser, void (*)(csv_parser*)> guard(&parser, csv_free);
    csv_set_delim(&parser, static_cast<unsigned char>(collector.table.separator));
    csv_set_space_func(&parser, isBlank);
    // Fed a line at a time, so that every row knows the line it starts on.
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find('\n', start);
        const std::size_t length = end == std::string_view::npos ? text.size() - start : end - start + 1;
        csv_parse(&parser, text.data() + start, length, endField, endRow, &collector);
        ++collector.line;
        start += length;
    }
    csv_fini(&parser, endField, endRow, &collector);
    return std::move(collector.table);
}

}  // namespace quendra::bankimport
