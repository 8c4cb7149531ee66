#include "storage/settings_file.h"

#include "storage/amount_format.h"
#include "storage/dbase/codepage.h"
#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/text_case.h"
#include "storage/page_layout.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>

namespace quendra::storage {

namespace {

constexpr std::string_view kDatei = "Datei";
constexpr std::string_view kDrucker = "Drucker";
constexpr std::string_view kGraphik = "Graphik";
constexpr std::string_view kFont = "Font";
constexpr std::string_view kServer = "Server";

struct Key {
    std::string_view section;
    std::string_view name;
};

constexpr Key kHauptdatei{kDatei, "Hauptdatei"};
constexpr Key kKonto{kDatei, "Konto"};
constexpr Key kTop{kDrucker, "Seite-oben"};
constexpr Key kBottom{kDrucker, "Seite-unten"};
constexpr Key kFrames{kDrucker, "Gr_linie"};
constexpr Key kScale{kGraphik, "Skala"};
constexpr Key kScreenFont{kFont, "Bildschirmfont"};
constexpr Key kPrinterFont{kFont, "Druckfont"};
constexpr Key kFtpHost{kServer, "FtpHost"};
constexpr Key kFtpPort{kServer, "FtpPort"};
constexpr Key kFtpUser{kServer, "FtpUser"};
constexpr Key kFtpPassword{kServer, "FtpPassword"};
constexpr Key kWebAddress{kServer, "WebAddress"};
constexpr Key kFtpTls{kServer, "FtpTls"};
constexpr Key kCaFile{kServer, "CaFile"};
constexpr Key kUpdateKey{kServer, "UpdateKey"};

constexpr Key kKnownKeys[] = {kHauptdatei, kKonto,   kTop,     kBottom,  kFrames,      kScale,      kScreenFont,
                              kPrinterFont, kFtpHost, kFtpPort, kFtpUser, kFtpPassword, kWebAddress, kFtpTls,
                              kCaFile,      kUpdateKey};
constexpr std::string_view kKnownSections[] = {kDatei, kDrucker, kGraphik, kFont, kServer};

constexpr std::string_view kTlsRequired = "richiesto";
constexpr std::string_view kTlsIfOffered = "se-possibile";
constexpr std::string_view kTlsOff = "no";

constexpr int kDefaultFtpPort = 21;
constexpr long long kLargestCharacterCount = 999;
constexpr int kDefaultScale = 100;

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isKnownKey(std::string_view section, std::string_view key) {
    for (const Key& known : kKnownKeys) {
        if (equalsIgnoreCaseAscii(known.section, section) && equalsIgnoreCaseAscii(known.name, key)) {
            return true;
        }
    }
    return false;
}

std::string_view canonicalSectionName(std::string_view name) {
    for (const std::string_view known : kKnownSections) {
        if (equalsIgnoreCaseAscii(known, name)) {
            return known;
        }
    }
    return name;
}

// Works on const and non-const lists alike.
template <typename Sections>
auto findSection(Sections& sections, std::string_view name) -> decltype(&sections.front()) {
    for (auto& section : sections) {
        if (equalsIgnoreCaseAscii(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Bom)) {
        return bytes.substr(kUtf8Bom.size());
    }
    return decodeToUtf8(bytes, CodePage::Windows1252);
}

// The file's sections in order; same-named sections are merged, as Windows reads them.
// Lines before the first section header go into a section with an empty name.
std::vector<IniSection> parseIni(std::string_view text) {
    std::vector<IniSection> sections;
    IniSection* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        line = trim(line);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[' && line.find(']') != std::string_view::npos) {
            const std::string_view name = canonicalSectionName(trim(line.substr(1, line.find(']') - 1)));
            current = findSection(sections, name);
            if (current == nullptr) {
                current = &sections.emplace_back(IniSection{std::string(name), {}});
            }
            continue;
        }
        if (current == nullptr) {
            current = &sections.emplace_back(IniSection{"", {}});
        }
        const std::size_t equals = line.find('=');
        if (line.front() == ';' || line.front() == '#' || equals == std::string_view::npos) {
            current->lines.push_back({std::string(line), "", true});
        } else {
            current->lines.push_back({std::string(trim(line.substr(0, equals))), std::string(trim(line.substr(equals + 1))), false});
        }
    }
    return sections;
}

std::optional<std::string> lookUp(const std::vector<IniSection>& sections, const Key& key) {
    const IniSection* section = findSection(sections, key.section);
    if (section == nullptr) {
        return std::nullopt;
    }
    for (const IniLine& line : section->lines) {
        if (!line.isRaw && equalsIgnoreCaseAscii(line.key, key.name)) {
            return line.value;
        }
    }
    return std::nullopt;
}

std::string textOr(const std::vector<IniSection>& sections, const Key& key, std::string_view fallback) {
    const std::optional<std::string> value = lookUp(sections, key);
    return value && !value->empty() ? *value : std::string(fallback);
}

// A margin in the file is a positive number of tenths of a millimetre; it is held negated.
int heldMargin(const std::vector<IniSection>& sections, const Key& key, int fallback) {
    const std::optional<long long> value = parseWholeNumber(lookUp(sections, key).value_or(""));
    if (!value || *value < -100000 || *value > 100000) {
        return fallback;
    }
    return -static_cast<int>(*value);
}

// A font's characters per line: a whole number the page can be divided by.
std::string characterCountOr(const std::vector<IniSection>& sections, const Key& key, const std::string& fallback) {
    const std::optional<long long> count = parseWholeNumber(lookUp(sections, key).value_or(""));
    return count && *count > 0 && *count <= kLargestCharacterCount ? std::to_string(*count) : fallback;
}

bool isOurSection(std::string_view name) {
    for (const std::string_view known : kKnownSections) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

// What reading leaves for writing to keep: our sections lose the keys we write
// ourselves (duplicates included), and vanish when nothing else is left in them.
std::vector<IniSection> withoutKnownKeys(std::vector<IniSection> sections) {
    for (IniSection& section : sections) {
        std::erase_if(section.lines, [&](const IniLine& line) { return !line.isRaw && isKnownKey(section.name, line.key); });
    }
    std::erase_if(sections, [](const IniSection& section) { return isOurSection(section.name) && section.lines.empty(); });
    return sections;
}

class IniWriter {
public:
    void section(std::string_view name) {
        if (!text_.empty()) {
            text_ += "\r\n";
        }
        if (!name.empty()) {
            text_ += '[' + std::string(name) + "]\r\n";
        }
    }
    void entry(std::string_view key, std::string_view value) {
        text_ += std::string(key) + '=' + std::string(value) + "\r\n";
    }
    void keptLines(const std::vector<IniSection>& others, std::string_view sectionName) {
        if (const IniSection* kept = findSection(others, sectionName)) {
            for (const IniLine& line : kept->lines) {
                if (line.isRaw) {
                    text_ += line.key + "\r\n";
                } else {
                    entry(line.key, line.value);
                }
            }
        }
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

std::string settingsText(const Settings& s) {
    IniWriter out;
    out.keptLines(s.others, "");
    out.section(kDatei);
    out.entry(kHauptdatei.name, s.hauptdatei);
    out.entry(kKonto.name, s.konto);
    out.keptLines(s.others, kDatei);
    out.section(kDrucker);
    out.entry(kTop.name, std::to_string(-static_cast<long long>(s.topMargin)));
    out.entry(kBottom.name, std::to_string(-static_cast<long long>(s.bottomMargin)));
    out.entry(kFrames.name, s.frameLines);
    out.keptLines(s.others, kDrucker);
    out.section(kGraphik);
    out.entry(kScale.name, s.scale);
    out.keptLines(s.others, kGraphik);
    out.section(kFont);
    out.entry(kScreenFont.name, s.screenFont);
    out.entry(kPrinterFont.name, s.printerFont);
    out.keptLines(s.others, kFont);
    if (s.hadServerSection || !s.server.empty() || findSection(s.others, kServer) != nullptr) {
        out.section(kServer);
        out.entry(kFtpHost.name, s.server.ftpHost);
        out.entry(kFtpPort.name, s.server.ftpPort);
        out.entry(kFtpUser.name, s.server.ftpUser);
        out.entry(kFtpPassword.name, s.server.ftpPassword);
        out.entry(kWebAddress.name, s.server.webAddress);
        out.entry(kFtpTls.name, ftpTlsText(s.server.ftpTlsMode()));
        out.entry(kCaFile.name, s.server.caFile);
        out.entry(kUpdateKey.name, s.server.updateKey);
        out.keptLines(s.others, kServer);
    }
    for (const IniSection& section : s.others) {
        if (!section.name.empty() && !isOurSection(section.name)) {
            out.section(section.name);
            out.keptLines(s.others, section.name);
        }
    }
    return out.text();
}

// The permissions of the file about to be written: a new one is private; an existing one
// keeps its own, and one readable by others while it holds a password loses that.
mode_t settingsFileMode(const std::filesystem::path& file, const Settings& settings) {
    struct stat existing {};
    if (::stat(file.c_str(), &existing) != 0) {
        return 0600;
    }
    mode_t mode = existing.st_mode & 0777;
    if (!settings.server.ftpPassword.empty()) {
        mode &= 0700;
    }
    return mode;
}

// A password that others can read is made private as soon as it is seen, not only when
// the file is next written (which a crash or a kill never reaches).
void keepPasswordPrivate(const std::filesystem::path& file, const Settings& settings) {
    if (settings.server.ftpPassword.empty()) {
        return;
    }
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0 && (existing.st_mode & 077) != 0) {
        ::chmod(file.c_str(), settingsFileMode(file, settings));
    }
}

}  // namespace

std::string_view ftpTlsText(FtpTls mode) {
    switch (mode) {
    case FtpTls::IfOffered:
        return kTlsIfOffered;
    case FtpTls::Off:
        return kTlsOff;
    case FtpTls::Required:
        break;
    }
    return kTlsRequired;
}

bool ServerSettings::empty() const {
    return ftpHost.empty() && ftpPort.empty() && ftpUser.empty() && ftpPassword.empty() && webAddress.empty() &&
           ftpTls.empty() && caFile.empty() && updateKey.empty();
}

FtpTls ServerSettings::ftpTlsMode() const {
    const std::string_view text = trim(ftpTls);
    if (text.empty() || equalsIgnoreCaseAscii(text, kTlsIfOffered)) {
        return FtpTls::IfOffered;
    }
    return equalsIgnoreCaseAscii(text, kTlsOff) ? FtpTls::Off : FtpTls::Required;
}

int ServerSettings::ftpPortNumber() const {
    const std::optional<long long> port = parseWholeNumber(ftpPort);
    return port && *port > 0 && *port < 65536 ? static_cast<int>(*port) : kDefaultFtpPort;
}

std::string ServerSettings::downloadAddress(std::string_view file) const {
    if (webAddress.empty()) {
        return {};
    }
    std::string_view base = webAddress;
    while (base.ends_with('/')) {
        base.remove_suffix(1);
    }
    return std::string(base) + "/upload/amministrazione/" + std::string(file);
}

int Settings::scalePercent() const {
    const std::optional<long long> value = parseWholeNumber(scale);
    return value && *value >= 50 && *value <= 150 ? static_cast<int>(*value) : kDefaultScale;
}

Settings readSettings(const std::filesystem::path& file) {
    const std::vector<IniSection> sections = parseIni(fileText(file));
    Settings s;
    s.hauptdatei = textOr(sections, kHauptdatei, s.hauptdatei);
    s.konto = textOr(sections, kKonto, s.konto);
    // A hand-edited file gets no further than the settings dialog would let it: margins
    // it refuses (a page too short even for the journal's heading) and font counts out of
    // bounds give the defaults; frames are on unless turned off.
    const int top = heldMargin(sections, kTop, s.topMargin);
    const int bottom = heldMargin(sections, kBottom, s.bottomMargin);
    if (pageLayoutAccepted(top, bottom)) {
        s.topMargin = top;
        s.bottomMargin = bottom;
    }
    s.frameLines = textOr(sections, kFrames, s.frameLines) == "0" ? "0" : "1";
    s.screenFont = characterCountOr(sections, kScreenFont, s.screenFont);
    s.printerFont = characterCountOr(sections, kPrinterFont, s.printerFont);
    s.scale = textOr(sections, kScale, s.scale);
    s.server.ftpHost = textOr(sections, kFtpHost, "");
    s.server.ftpPort = textOr(sections, kFtpPort, "");
    s.server.ftpUser = textOr(sections, kFtpUser, "");
    s.server.ftpPassword = textOr(sections, kFtpPassword, "");
    s.server.webAddress = textOr(sections, kWebAddress, "");
    const bool newFile = !std::filesystem::exists(file);
    s.server.ftpTls = textOr(sections, kFtpTls, newFile ? kTlsRequired : "");
    s.server.caFile = textOr(sections, kCaFile, "");
    s.server.updateKey = textOr(sections, kUpdateKey, "");
    s.hadServerSection = findSection(sections, kServer) != nullptr;
    s.others = withoutKnownKeys(sections);
    keepPasswordPrivate(file, s);
    return s;
}

void writeSettings(const std::filesystem::path& file, const Settings& settings) {
    const std::string text = settingsText(settings);
    const std::optional<std::string> bytes = encodeFromUtf8(text, CodePage::Windows1252);
    if (!bytes) {
        throw DbError(DbError::Kind::BadValue, "Il file delle impostazioni \"" + file.string() + "\" non può contenere il carattere \"" +
                            firstUnencodable(text, CodePage::Windows1252) + "\".");
    }
    writeFileAtomically(file, *bytes, settingsFileMode(file, settings));
}

}  // namespace quendra::storage
