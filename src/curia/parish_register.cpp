#include "curia/parish_register.h"

#include "curia/archive.h"
#include "curia/inbox.h"

namespace quendra::curia {

namespace {

constexpr std::uintmax_t kMaxRegisterBytes = 1 << 20;

std::vector<std::string> fields(std::string_view line, char separator) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                out.back() += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == separator && !quoted) {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    for (std::string& field : out) {
        const std::size_t first = field.find_first_not_of(" \t");
        field = first == std::string::npos ? std::string() : field.substr(first, field.find_last_not_of(" \t") - first + 1);
    }
    return out;
}

}  // namespace

std::vector<RegisteredParish> parseParishRegister(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<RegisteredParish> parishes;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const char separator = line.find(';') != std::string_view::npos ? ';' : ',';
        std::vector<std::string> values = fields(line, separator);
        values.resize(3);
        const bool heading = first && (values[0].starts_with("nome") || values[0].starts_with("Nome"));
        first = false;
        if (heading || values[0].empty()) continue;
        parishes.push_back({values[0], values[1], values[2], parishKey(values[0], values[1])});
    }
    return parishes;
}

std::vector<RegisteredParish> readParishRegister(const std::filesystem::path& file) {
    return parseParishRegister(readLimited(file, kMaxRegisterBytes));
}

}  // namespace quendra::curia
