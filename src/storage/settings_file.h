#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

inline constexpr std::string_view kSettingsFileName = "tovald.INI";

// How the transmission's FTP connection is encrypted ([Server] FtpTls): "richiesto" (the
// server must offer TLS, otherwise nothing is sent), "se-possibile" (TLS when the server
// offers it), "no".
enum class FtpTls { Required, IfOffered, Off };
std::string_view ftpTlsText(FtpTls mode);

// The central server of the diocesan administration, from the [Server] section. Values
// are text as in the file; an empty host or address means "no connection".
struct ServerSettings {
    std::string ftpHost;
    std::string ftpPort;  // empty: the FTP default port
    std::string ftpUser;
    std::string ftpPassword;
    std::string webAddress;  // e.g. "https://www.velmora.example"
    std::string ftpTls;      // see FtpTls; a new file gets "richiesto"
    std::string caFile;      // certificates to trust besides the system's; empty: the system's
    std::string updateKey;   // minisign public key (its base64 line) of the download area

    bool hasFtp() const { return !ftpHost.empty(); }
    bool hasWeb() const { return !webAddress.empty(); }
    bool empty() const;
    // Empty or "se-possibile": IfOffered (the behaviour of files older than the key);
    // "no": Off; anything else, a typing error included, Required.
    FtpTls ftpTlsMode() const;
    // The port as a number: 21 when empty or not a port number.
    int ftpPortNumber() const;
    // webAddress + "/upload/amministrazione/" + file (a trailing "/" of the address is
    // not doubled); empty when there is no web address.
    std::string downloadAddress(std::string_view file) const;
};

// A line of the file that this program does not read: a key we do not know, or a
// comment or other line kept as it stood (isRaw, text in key).
struct IniLine {
    std::string key;
    std::string value;
    bool isRaw = false;
};

struct IniSection {
    std::string name;
    std::vector<IniLine> lines;
};

// What tovald.INI holds. Values are text as in the file, except the two page margins,
// which are held as the whole numbers the printing engine uses: the file's value with
// the opposite sign (the file's "150" is held as -150).
struct Settings {
    std::string hauptdatei;          // [Datei] Hauptdatei: the current journal, KRyyyynn.dbf
    std::string konto;               // [Datei] Konto: its chart, KWyyyynn.dbf
    int topMargin = -150;            // [Drucker] Seite-oben
    int bottomMargin = -2700;        // [Drucker] Seite-unten
    std::string frameLines = "1";    // [Drucker] Gr_linie: "1" draw frames and rules
    std::string screenFont = "15";   // [Font] Bildschirmfont
    std::string printerFont = "15";  // [Font] Druckfont
    std::string scale = "100";       // [Graphik] Skala, percent
    ServerSettings server;           // [Server]

    // Everything else the file held, kept in its order so that writing keeps it:
    // unknown keys of our sections (under our section names) and unknown sections.
    std::vector<IniSection> others;
    bool hadServerSection = false;

    // The scale as a number; 100 when the text is no whole number between 50 and 150
    // (a hand-edited file must not make the windows unusable).
    int scalePercent() const;
};

// Reads the file; a missing or unreadable file, section or key, and an empty value, give
// the defaults without complaint (a missing file: FtpTls "richiesto", which the first
// write puts into the new file). Section and key names compare case-blind. The file
// is Windows-1252 (a UTF-8 file that starts with a byte-order mark is read as UTF-8).
Settings readSettings(const std::filesystem::path& file);

// Writes [Datei], [Drucker], [Graphik], [Font] in the fixed order, then [Server] when
// the file had it or a value is set, then the lines and sections kept from reading.
// The new file replaces the old one only once it is complete. It is private (0600) when
// new; an existing file keeps its permissions, except that one readable by others loses
// them while it holds the FTP password. Throws DbError with an
// Italian message (BadValue for a character Windows-1252 lacks, Io when writing fails).
void writeSettings(const std::filesystem::path& file, const Settings& settings);

}  // namespace quendra::storage
