#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quendra::test {

// A server on 127.0.0.1 run as a child process for one test: a script of tests/support
// run by the system Python, which prints "PORT <n>" once it listens. The constructor
// returns when that line has come; the child is killed when the object goes.
class LocalServer {
public:
    LocalServer(const std::string& script, const std::vector<std::string>& args);
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>"
    std::string webAddress() const;

private:
    void stop();
    pid_t pid_ = -1;
    int port_ = 0;
};

// An FTP server on root that accepts user and password ("anonymous": anyone).
LocalServer ftpServer(const std::filesystem::path& root, const std::string& user, const std::string& password);

// A web server on root; the files named in dropped are cut off half-way.
LocalServer httpServer(const std::filesystem::path& root, const std::vector<std::string>& dropped = {});

// A port on 127.0.0.1 on which nothing listens (bound and released at once).
int unusedPort();

}  // namespace quendra::test
