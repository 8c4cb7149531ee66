#include "curia/archive.h"

#include "curia/error.h"
#include "storage/year_files.h"
#include "storage/year_structure.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <regex>

namespace quendra::curia {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxKeyLength = 80;
constexpr std::uintmax_t kMaxNoteBytes = 1 << 20;

// Latin letters with accents as Windows-1252 holds them, in UTF-8, and their plain letter.
constexpr std::array<std::pair<std::string_view, std::string_view>, 30> kFolded = {{
    {"à", "a"}, {"á", "a"}, {"â", "a"}, {"ä", "a"}, {"À", "a"}, {"Á", "a"}, {"Â", "a"}, {"Ä", "a"},
    {"è", "e"}, {"é", "e"}, {"ê", "e"}, {"È", "e"}, {"É", "e"}, {"ì", "i"}, {"í", "i"}, {"Ì", "i"},
    {"ò", "o"}, {"ó", "o"}, {"ô", "o"}, {"ö", "o"}, {"Ò", "o"}, {"Ö", "o"}, {"ù", "u"}, {"ú", "u"},
    {"ü", "u"}, {"Ù", "u"}, {"Ü", "u"}, {"ç", "c"}, {"ñ", "n"}, {"ß", "ss"},
}};

void appendFolded(std::string_view text, std::string& key) {
    while (!text.empty()) {
        const char c = text.front();
        std::string_view piece;
        std::size_t used = 1;
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            piece = text.substr(0, 1);
        } else if (c >= 'A' && c <= 'Z') {
            key += char(c - 'A' + 'a');
            text.remove_prefix(1);
            continue;
        } else {
            for (const auto& [accented, plain] : kFolded) {
                if (text.starts_with(accented)) {
                    piece = plain;
                    used = accented.size();
                }
            }
        }
        if (piece.empty()) {
            if (!key.empty() && key.back() != '-') key += '-';
        } else {
            key += piece;
        }
        text.remove_prefix(used);
    }
}

bool isTransmissionFolderName(const std::string& name) {
    static const std::regex shape("[0-9]{8}-[0-9]{6}-[1-9]{5}");
    return std::regex_match(name, shape);
}

bool isYearFolderName(const std::string& name) {
    return name.size() == 4 && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<fs::path> subfolders(const fs::path& folder, bool (*accept)(const std::string&)) {
    std::vector<fs::path> out;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error) && accept(it->path().filename().string())) {
            out.push_back(it->path());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

bool keyShaped(const std::string& name) { return isParishKey(name); }

[[noreturn]] void failMove(const fs::path& file, const std::error_code& error) {
    throw CuriaError("Impossibile archiviare il file " + file.filename().string() + " (" + error.message() + ")");
}

// A rename within one file system; a copy and removal across two, so the bytes stay as
// they came.
void moveFile(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (!error) return;
    if (error != std::errc::cross_device_link) failMove(from, error);
    fs::copy_file(from, to, error);
    if (error) failMove(from, error);
    fs::remove(from, error);
    if (error) failMove(from, error);
}

void writeLines(const fs::path& file, const std::vector<std::string>& lines) {
    std::ofstream out(file, std::ios::binary);
    for (const std::string& line : lines) out << line << '\n';
    if (!out.flush()) throw CuriaError("Impossibile scrivere il file " + file.string());
}

fs::path newFolder(const fs::path& parent, const std::string& stamp, const std::string& code) {
    const fs::path folder = parent / (stamp + "-" + code);
    std::error_code error;
    fs::create_directories(parent, error);
    if (error || !fs::create_directory(folder, error) || error) {
        throw CuriaError("Impossibile creare la cartella " + folder.string() + " nell'archivio");
    }
    return folder;
}

void moveArrived(const Arrived& arrived, const TransmissionName& name, const fs::path& folder) {
    const std::array<std::pair<const ArrivedFile*, std::string>, 4> files = {{
        {&arrived.journal, name.journalName},
        {&arrived.chart, name.chartName},
        {&arrived.info, std::string(kInfoFileName)},
        {&arrived.budget, name.budgetName()},
    }};
    for (const auto& [file, target] : files) {
        if (file->state != Arrival::Missing) moveFile(file->path, folder / target);
    }
}

}  // namespace

std::string parishKey(std::string_view name, std::string_view place) {
    std::string key;
    appendFolded(name, key);
    if (!key.empty() && key.back() != '-') key += '-';
    appendFolded(place, key);
    while (!key.empty() && key.back() == '-') key.pop_back();
    while (!key.empty() && key.front() == '-') key.erase(0, 1);
    if (key.size() > kMaxKeyLength) key.resize(kMaxKeyLength);
    while (!key.empty() && key.back() == '-') key.pop_back();
    return key.empty() ? "senza-nome" : key;
}

bool isParishKey(std::string_view key) {
    if (key.empty() || key.size() > kMaxKeyLength || key.front() == '-' || key.back() == '-') return false;
    return std::all_of(key.begin(), key.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'; });
}

std::optional<FiledFiles> filedFiles(const fs::path& folder) {
    FiledFiles files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error) || it->is_symlink(error)) continue;
        const std::string name = it->path().filename().string();
        const auto kind = storage::yearTableKindOf(name);
        if (kind == storage::YearTable::Journal && name.size() == 12) files.journal = it->path();
        if (kind == storage::YearTable::Chart && name.size() == 12) files.chart = it->path();
        if (kind == storage::YearTable::Budget && name.size() == 12) files.budget = it->path();
        if (name == kInfoFileName) files.info = it->path();
    }
    if (files.journal.empty() || files.chart.empty() || files.info.empty()) return std::nullopt;
    return files;
}

fs::path fileTransmission(const fs::path& archive, const std::string& key, const std::string& year,
                          const std::string& stamp, const TransmissionName& name, const Arrived& arrived,
                          const std::vector<std::string>& warnings) {
    const fs::path folder = newFolder(archive / key / year, stamp, name.code);
    writeLines(folder / kWarningsFileName, warnings);
    moveArrived(arrived, name, folder);
    return folder;
}

fs::path setAside(const fs::path& archive, const std::string& stamp, const TransmissionName& name,
                  const Arrived& arrived, const std::vector<std::string>& damage) {
    const fs::path folder = newFolder(archive / kSetAsideFolder, stamp, name.code);
    writeLines(folder / kDamageFileName, damage);
    moveArrived(arrived, name, folder);
    return folder;
}

std::optional<fs::path> findTransmission(const fs::path& archive, const TransmissionName& name) {
    std::optional<fs::path> latest;
    const auto consider = [&](const fs::path& folder) {
        if (!folder.filename().string().ends_with("-" + name.code)) return;
        std::error_code error;
        if (!fs::is_regular_file(storage::resolveCaseBlind(folder, name.journalName), error)) return;
        if (!latest || latest->filename() < folder.filename()) latest = folder;
    };
    for (const fs::path& folder : subfolders(archive / kSetAsideFolder, isTransmissionFolderName)) consider(folder);
    for (const fs::path& parish : subfolders(archive, keyShaped)) {
        for (const fs::path& year : subfolders(parish, isYearFolderName)) {
            for (const fs::path& folder : subfolders(year, isTransmissionFolderName)) consider(folder);
        }
    }
    return latest;
}

bool isSetAside(const fs::path& archive, const fs::path& folder) {
    return folder.parent_path() == archive / kSetAsideFolder;
}

std::vector<std::string> readNoteLines(const fs::path& file) {
    std::vector<std::string> lines;
    std::error_code error;
    if (!fs::is_regular_file(file, error) || fs::file_size(file, error) > kMaxNoteBytes) return lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::optional<ArchivedYear> archivedYear(const fs::path& archive, const std::string& key, const std::string& year) {
    if (!isParishKey(key) || !isYearFolderName(year)) return std::nullopt;
    const std::vector<fs::path> folders = subfolders(archive / key / year, isTransmissionFolderName);
    if (folders.empty()) return std::nullopt;
    ArchivedYear found;
    found.key = key;
    found.year = year;
    found.current = folders.back();
    found.transmissions = folders.size();
    try {
        found.info = parseReceivedInfo(readLimited(found.current / kInfoFileName, kMaxInfoBytes));
    } catch (const CuriaError&) {
        // A folder without its info still counts; its names stay empty.
    }
    found.warnings = readNoteLines(found.current / kWarningsFileName);
    return found;
}

std::vector<ArchivedYear> archivedYears(const fs::path& archive) {
    std::vector<ArchivedYear> years;
    for (const fs::path& parish : subfolders(archive, keyShaped)) {
        for (const fs::path& year : subfolders(parish, isYearFolderName)) {
            if (auto found = archivedYear(archive, parish.filename().string(), year.filename().string())) {
                years.push_back(std::move(*found));
            }
        }
    }
    return years;
}

}  // namespace quendra::curia
