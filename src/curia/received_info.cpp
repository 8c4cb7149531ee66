#include "curia/received_info.h"

#include "storage/dbase/codepage.h"

#include <array>
#include <vector>

namespace quendra::curia {

namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string_view> lines(std::string_view bytes) {
    std::vector<std::string_view> out;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out.push_back(line);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    return out;
}

std::string value(std::string_view line, std::string_view label) {
    if (!line.starts_with(label)) return {};
    line.remove_prefix(label.size());
    if (!line.empty() && line.back() == '|') line.remove_suffix(1);
    std::string bytes(trimmed(line));
    for (char& c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return storage::decodeToUtf8(bytes, storage::CodePage::Windows1252);
}

}  // namespace

ReceivedInfo parseReceivedInfo(std::string_view bytes) {
    static constexpr std::array<std::string_view, 6> kLabels = {
        "Anno dell'esercizio: ", "Nome parrocchia: ", "Luogo: ", "Decanato: ", "Email: ", "Annotazioni: "};
    const std::vector<std::string_view> given = lines(bytes);
    std::array<std::string, 6> values;
    for (std::size_t i = 0; i < kLabels.size() && i < given.size(); ++i) values[i] = value(given[i], kLabels[i]);
    return {values[0], values[1], values[2], values[3], values[4], values[5]};
}

}  // namespace quendra::curia
