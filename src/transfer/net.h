#pragma once

#include "storage/settings_file.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quendra::transfer {

// Called while a transfer runs, often (also while nothing moves), with a status text for
// the user. The window side uses the calls to repaint; the core never does.
using StatusCallback = std::function<void(const std::string& status)>;

// The outcome of a transfer: empty error on success, otherwise an Italian text for the
// user that names the host and file but never a password or a URL with credentials.
struct NetResult {
    std::string error;
    bool ok() const { return error.empty(); }
};

struct TextResult {
    std::string body;
    std::string error;
    long answer = 0;  // the web server's status code; 0 when none came
    bool ok() const { return error.empty(); }
};

struct FtpServer {
    std::string host;
    int port = 21;
    std::string user;  // empty: anonymous login
    std::string password;
    std::string directory;  // absolute, e.g. "/tovald"
    storage::FtpTls tls = storage::FtpTls::Required;
    std::string caFile = {};  // certificates trusted besides the system's; empty: the system's
};

// Until when a transfer may run at most, besides its own bounds; none: no such limit.
using Deadline = std::optional<std::chrono::steady_clock::time_point>;

// A file of a web server, the certificates its https connection may trust besides the
// system's (empty: the system's alone), and the moment its transfer must have ended by.
struct WebFile {
    std::string url;
    std::string caFile;
    Deadline until = {};
};

// Looks at a download that arrived whole, before it replaces its target or is made
// executable: empty when it may, otherwise the reason for the user.
using DownloadCheck = std::function<std::string(const std::filesystem::path& arrived)>;

struct FtpUpload {
    std::filesystem::path localFile;
    std::string remoteName;
};

enum class FileKind { Document, Program };

// FTP and HTTP for the transmission and the update. Every wait ends within bounded
// time-outs, and a download within a bounded size. A body counts only when the server
// answered 200 and it is not empty and arrived whole. Certificates are always verified;
// a redirect never leads from https to http.
class Net {
public:
    virtual ~Net() = default;

    // Logs in, changes to the server's directory and stores the files in order under
    // their remote names (passive, binary), encrypted as server.tls asks. Stops at the
    // first failure; the files stored before it stay on the server.
    virtual NetResult ftpStore(const FtpServer& server, const std::vector<FtpUpload>& files,
                               const StatusCallback& status) = 0;

    // GET of a small text (a few kilobytes at most).
    virtual TextResult httpGetText(const WebFile& source, const StatusCallback& status) = 0;

    // GET into target. The body goes to a private temporary file beside target and
    // replaces it only when whole and accepted by check, so a failure leaves target as it
    // was. A Program becomes executable, after the check.
    virtual NetResult download(const WebFile& source, const std::filesystem::path& target, FileKind kind,
                               const DownloadCheck& check, const StatusCallback& status) = 0;
};

}  // namespace quendra::transfer
