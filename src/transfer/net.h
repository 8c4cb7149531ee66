#pragma once

#include <filesystem>
#include <functional>
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
    bool ok() const { return error.empty(); }
};

struct FtpServer {
    std::string host;
    int port = 21;
    std::string user;  // empty: anonymous login
    std::string password;
    std::string directory;  // absolute, e.g. "/tovald"
};

struct FtpUpload {
    std::filesystem::path localFile;
    std::string remoteName;
};

enum class FileKind { Document, Program };

// FTP and HTTP for the transmission and the update. Every wait ends within bounded
// time-outs. A body counts only when the server answered 200 and it is not empty and
// arrived whole.
class Net {
public:
    virtual ~Net() = default;

    // Logs in, changes to the server's directory and stores the files in order under
    // their remote names (passive, binary). Stops at the first failure; the files stored
    // before it stay on the server.
    virtual NetResult ftpStore(const FtpServer& server, const std::vector<FtpUpload>& files,
                               const StatusCallback& status) = 0;

    // GET of a small text (a few kilobytes at most).
    virtual TextResult httpGetText(const std::string& url, const StatusCallback& status) = 0;

    // GET into target. The body goes to a temporary file beside target and replaces it
    // only when whole, so a failure leaves target as it was. A Program becomes executable.
    virtual NetResult download(const std::string& url, const std::filesystem::path& target, FileKind kind,
                               const StatusCallback& status) = 0;
};

}  // namespace quendra::transfer
