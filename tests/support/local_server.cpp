#include "support/local_server.h"

#include "support/run_program.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace quendra::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kStartLimitMs = 60'000;  // a bound for a broken script, not a pause

// The first line the child writes, read as it comes.
std::string firstLine(int fd, pid_t child) {
    std::string line;
    char c = 0;
    while (line.empty() || line.back() != '\n') {
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, kStartLimitMs);
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) throw std::runtime_error("test server " + std::to_string(child) + " did not start");
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw std::runtime_error("test server ended before it listened");
        line += c;
    }
    return line;
}

}  // namespace

LocalServer::LocalServer(const std::string& script, const std::vector<std::string>& args, std::string scheme)
    : scheme_(std::move(scheme)) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);

    std::vector<std::string> words{kPython, std::string(QUENDRA_SOURCE_DIR) + "/tests/support/" + script};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        throw std::runtime_error("cannot start " + script + ": " + std::strerror(spawned));
    }
    try {
        const std::string line = firstLine(pipeFds[0], pid_);
        if (line.rfind("PORT ", 0) != 0) throw std::runtime_error("test server said: " + line);
        port_ = std::stoi(line.substr(5));
    } catch (...) {
        ::close(pipeFds[0]);
        stop();
        throw;
    }
    ::close(pipeFds[0]);
}

LocalServer::~LocalServer() { stop(); }

void LocalServer::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

std::string LocalServer::webAddress() const { return scheme_ + "://127.0.0.1:" + std::to_string(port_); }

TestCertificate makeCertificate(const std::filesystem::path& dir) {
    TestCertificate made{dir / "certificato.pem", dir / "chiave.pem"};
    const ProgramResult result = runProgram(
        "/usr/bin/openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                             "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                             "-keyout", made.key.string(), "-out", made.certificate.string()});
    if (result.exitCode != 0) throw std::runtime_error("openssl failed: " + result.err);
    return made;
}

LocalServer ftpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
                      const FtpServerOptions& options) {
    std::vector<std::string> args{root.string(), user, password};
    if (options.tls) args.insert(args.end(), {"--tls", options.tls->certificate, options.tls->key});
    if (!options.commandLog.empty()) args.insert(args.end(), {"--log", options.commandLog});
    for (const std::string& name : options.unconfirmed) args.insert(args.end(), {"--unconfirmed", name});
    return LocalServer("ftp_server.py", args);
}

LocalServer httpServer(const std::filesystem::path& root, const WebServerOptions& options) {
    std::vector<std::string> args{root.string()};
    for (const std::string& name : options.dropped) args.insert(args.end(), {"--drop", name});
    for (const std::string& name : options.trickled) args.insert(args.end(), {"--trickle", name});
    for (const auto& [name, target] : options.redirects) args.insert(args.end(), {"--redirect", name, target});
    if (options.portal) args.push_back("--portal");
    if (options.tls) args.insert(args.end(), {"--tls", options.tls->certificate, options.tls->key});
    return LocalServer("http_server.py", args, options.tls ? "https" : "http");
}

LocalServer proxyServer(const std::filesystem::path& log) { return LocalServer("proxy_server.py", {log.string()}); }

int unusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (fd >= 0) ::close(fd);
        throw std::runtime_error("no free port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace quendra::test
