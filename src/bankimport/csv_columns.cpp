#include "bankimport/csv_columns.h"

#include "storage/account_code.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace quendra::bankimport {

namespace {

constexpr int kRowsSearched = 40;

// Lower case, accents dropped, every other sign a single blank: "Descrizione
// Operazione", "DESCRIZIONE_OPERAZIONE" and "Importo (€)" compare as plain words.
std::string plainHeading(std::string_view heading) {
    std::string out;
    for (std::size_t i = 0; i < heading.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(heading[i]);
        char plain = ' ';
        if (c >= 'A' && c <= 'Z') plain = char(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) plain = char(c);
        else if (c == 0xC3 && i + 1 < heading.size()) {
            // à á è é ì í ò ó ù ú in UTF-8: C3 A0..BA and capitals C3 80..9A.
            static constexpr std::string_view vowels = "aaaaaaaceeeeiiiidnooooo ouuuuy";
            const unsigned char next = static_cast<unsigned char>(heading[++i]) & 0x1F;
            plain = next < vowels.size() ? vowels[next] : ' ';
        }
        if (plain == ' ' && (out.empty() || out.back() == ' ')) continue;
        out.push_back(plain);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

bool isOneOf(std::string_view heading, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), heading) != names.end();
}

// What a heading names; false when it names nothing we read.
bool assign(CsvColumns& columns, std::string_view heading, int column) {
    auto take = [&](int& slot) {
        if (slot >= 0) return false;
        slot = column;
        return true;
    };
    if (heading.starts_with("data valuta") || isOneOf(heading, {"valuta", "dt valuta", "data val"})) {
        return take(columns.valueDate);
    }
    if (heading.starts_with("data")) return take(columns.date);
    if (heading.starts_with("importo") || isOneOf(heading, {"ammontare", "movimento"})) return take(columns.amount);
    if (isOneOf(heading, {"entrate", "accrediti", "accredito", "avere", "entrate eur", "accrediti eur", "avere eur"})) {
        return take(columns.income);
    }
    if (isOneOf(heading, {"uscite", "addebiti", "addebito", "dare", "uscite eur", "addebiti eur", "dare eur"})) {
        return take(columns.expense);
    }
    if (isOneOf(heading, {"divisa", "valuta divisa", "moneta"})) return take(columns.currency);
    if (heading.starts_with("riferimento") || isOneOf(heading, {"id operazione", "numero operazione", "cro"})) {
        return take(columns.reference);
    }
    if (heading.starts_with("descrizione") || heading.starts_with("causale") || heading.starts_with("dettagli") ||
        isOneOf(heading, {"operazione", "note", "beneficiario", "ordinante", "controparte"})) {
        columns.text.push_back(column);
        return true;
    }
    return false;
}

// Keys of a bank's section in tovald.INI, in the order they are written.
using Slot = std::pair<std::string_view, int CsvColumns::*>;
constexpr std::array<Slot, 8> kSlots = {{
    {"righe-intestazione", &CsvColumns::headingRows},
    {"data", &CsvColumns::date},
    {"valuta", &CsvColumns::valueDate},
    {"importo", &CsvColumns::amount},
    {"entrate", &CsvColumns::income},
    {"uscite", &CsvColumns::expense},
    {"divisa", &CsvColumns::currency},
    {"riferimento", &CsvColumns::reference},
}};
constexpr std::string_view kTextKey = "causale";

std::string sectionName(std::string_view cashBox) {
    return "Estratto conto " + std::string(storage::typedFromStored(cashBox));
}

// Columns are kept counted from 1, as a user reads them; 0 is none.
std::vector<int> numbers(std::string_view text) {
    std::vector<int> out;
    for (std::size_t start = 0; start <= text.size();) {
        auto end = text.find(',', start);
        if (end == std::string_view::npos) end = text.size();
        int value = 0;
        const std::string_view part = text.substr(start, end - start);
        const auto [ptr, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error != std::errc() || ptr != part.data() + part.size() || value < 0) return {};
        out.push_back(value);
        start = end + 1;
    }
    return out;
}

}  // namespace

std::optional<CsvColumns> recogniseColumns(const CsvTable& table) {
    const int rows = std::min<int>(kRowsSearched, int(table.rows.size()));
    for (int row = 0; row < rows; ++row) {
        CsvColumns columns;
        columns.headingRows = row + 1;
        const std::vector<std::string>& cells = table.rows[std::size_t(row)];
        for (std::size_t column = 0; column < cells.size(); ++column) {
            assign(columns, plainHeading(cells[column]), int(column));
        }
        if (columns.complete()) return columns;
    }
    return std::nullopt;
}

std::vector<std::string> columnLabels(const CsvTable& table) {
    const std::vector<std::string>* widest = nullptr;
    for (std::size_t row = 0; row < table.rows.size() && row < std::size_t(kRowsSearched); ++row) {
        if (!widest || table.rows[row].size() > widest->size()) widest = &table.rows[row];
    }
    std::vector<std::string> labels;
    if (!widest) return labels;
    for (std::size_t column = 0; column < widest->size(); ++column) {
        labels.push_back(std::to_string(column + 1) + ": " + (*widest)[column]);
    }
    return labels;
}

std::optional<CsvColumns> rememberedColumns(const storage::Settings& settings, std::string_view cashBox) {
    const std::string name = sectionName(cashBox);
    for (const storage::IniSection& section : settings.others) {
        if (section.name != name) continue;
        CsvColumns columns;
        for (const storage::IniLine& line : section.lines) {
            const std::vector<int> values = numbers(line.value);
            if (line.key == kTextKey) {
                for (int value : values) {
                    if (value > 0) columns.text.push_back(value - 1);
                }
            }
            for (const auto& [key, member] : kSlots) {
                if (line.key != key || values.size() != 1) continue;
                columns.*member = member == &CsvColumns::headingRows ? values[0] : values[0] - 1;
            }
        }
        if (columns.complete()) return columns;
    }
    return std::nullopt;
}

void rememberColumns(storage::Settings& settings, std::string_view cashBox, const CsvColumns& columns) {
    storage::IniSection section{sectionName(cashBox), {}};
    for (const auto& [key, member] : kSlots) {
        const int value = member == &CsvColumns::headingRows ? columns.*member : columns.*member + 1;
        section.lines.push_back({std::string(key), std::to_string(value), false});
    }
    std::string text;
    for (int column : columns.text) text += (text.empty() ? "" : ",") + std::to_string(column + 1);
    section.lines.push_back({std::string(kTextKey), text, false});
    auto& others = settings.others;
    const auto old = std::find_if(others.begin(), others.end(), [&](const auto& s) { return s.name == section.name; });
    if (old != others.end()) *old = std::move(section);
    else others.push_back(std::move(section));
}

}  // namespace quendra::bankimport
