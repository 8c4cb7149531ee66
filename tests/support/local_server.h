#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace quendra::test {

// A server on 127.0.0.1 run as a child process for one test: a script of tests/support
// run by the system Python, which prints "PORT <n>" once it listens. The constructor
// returns when that line has come; the child is killed when the object goes.
class LocalServer {
public:
    LocalServer(const std::string& script, const std::vector<std::string>& args, std::string scheme = "http");
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" ("https://…" for a server with a certificate)
    std::string webAddress() const;

private:
    void stop();
    pid_t pid_ = -1;
    int port_ = 0;
    std::string scheme_;
};

// A throw-away certificate for 127.0.0.1 made by openssl, with its private key.
struct TestCertificate {
    std::filesystem::path certificate;
    std::filesystem::path key;
};
TestCertificate makeCertificate(const std::filesystem::path& dir);

struct FtpServerOptions {
    const TestCertificate* tls = nullptr;  // set: explicit TLS (AUTH TLS) is offered
    std::filesystem::path commandLog = {};  // set: every command the server receives, one a line
    std::vector<std::string> unconfirmed = {};  // files received whole but answered 451
};

// An FTP server on root that accepts user and password ("anonymous": anyone).
LocalServer ftpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
                      const FtpServerOptions& options = {});

struct WebServerOptions {
    std::vector<std::string> dropped = {};  // files cut off half-way
    std::vector<std::string> trickled = {};  // files sent a byte at a time, without end
    std::vector<std::pair<std::string, std::string>> redirects = {};  // file name, address it is sent on to
    bool portal = false;  // every request answered 200 with a login page
    const TestCertificate* tls = nullptr;  // set: https
};

// A web server on root.
LocalServer httpServer(const std::filesystem::path& root, const WebServerOptions& options = {});

// A proxy that forwards nothing: every byte it receives goes to log, every request gets 502.
LocalServer proxyServer(const std::filesystem::path& log);

// A port on 127.0.0.1 on which nothing listens (bound and released at once).
int unusedPort();

}  // namespace quendra::test
