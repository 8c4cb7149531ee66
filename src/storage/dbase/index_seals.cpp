#include "storage/dbase/index_seals.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace quendra::storage {

namespace {

// The most recent seals only: a parish has a few years, a test run many temporary tables.
constexpr std::size_t kSealsKept = 256;
constexpr std::uintmax_t kLargestSealFile = 1 << 20;

std::filesystem::path sealFile() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/') {
        return std::filesystem::path(cache) / "quendra" / "indici-verificati";
    }
    if (const char* home = std::getenv("HOME"); home && *home == '/') {
        return std::filesystem::path(home) / ".cache" / "quendra" / "indici-verificati";
    }
    return {};
}

std::string keyOf(const std::filesystem::path& table) {
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(table, ec);
    return (ec ? std::filesystem::absolute(table) : canonical).string();
}

// One seal a line: the two digests in hexadecimal, then the table's full path.
std::vector<std::string> sealLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::error_code ec;
    if (file.empty() || std::filesystem::file_size(file, ec) > kLargestSealFile || ec) return lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::optional<std::pair<IndexSeal, std::string>> parseLine(const std::string& line) {
    std::istringstream in(line);
    IndexSeal seal;
    std::string path;
    if (!(in >> std::hex >> seal.table >> seal.index) || in.get() != ' ' || !std::getline(in, path) || path.empty()) {
        return std::nullopt;
    }
    return std::make_pair(seal, path);
}

}  // namespace

std::uint64_t digestOf(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

std::optional<IndexSeal> recordedSeal(const std::filesystem::path& table) {
    const std::string key = keyOf(table);
    for (const std::string& line : sealLines(sealFile())) {
        if (const auto parsed = parseLine(line); parsed && parsed->second == key) return parsed->first;
    }
    return std::nullopt;
}

void recordSeal(const std::filesystem::path& table, const IndexSeal& seal) noexcept {
    try {
        const std::filesystem::path file = sealFile();
        if (file.empty()) return;
        const std::string key = keyOf(table);
        if (key.find('\n') != std::string::npos) return;
        std::vector<std::string> kept;
        for (const std::string& line : sealLines(file)) {
            if (const auto parsed = parseLine(line); parsed && parsed->second != key) kept.push_back(line);
        }
        if (kept.size() >= kSealsKept) kept.erase(kept.begin(), kept.end() - std::ptrdiff_t(kSealsKept - 1));
        std::ostringstream line;
        line << std::hex << seal.table << ' ' << seal.index << ' ' << key;
        kept.push_back(line.str());
        std::filesystem::create_directories(file.parent_path());
        // Written aside and renamed: another program reading meanwhile sees old or new.
        static std::atomic<unsigned> writes{0};
        const std::filesystem::path aside =
            file.string() + "." + std::to_string(::getpid()) + "-" + std::to_string(writes++);
        {
            std::ofstream out(aside, std::ios::trunc);
            for (const std::string& l : kept) out << l << '\n';
            if (!out.flush()) throw std::runtime_error("non scritto");
        }
        std::filesystem::rename(aside, file);
    } catch (const std::exception&) {
        // No seal: the next open compares every key, as it always may.
    }
}

}  // namespace quendra::storage
