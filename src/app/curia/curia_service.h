#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quendra::curia {

struct ServiceOptions {
    std::filesystem::path inbox;
    std::filesystem::path archive;
    std::string host = "127.0.0.1";
    int port = 8080;
    std::optional<std::filesystem::path> parishRegister;
    std::filesystem::path reportProgram;  // quendra-report
};

// Answers until SIGINT or SIGTERM. Prints "In ascolto su HOST:PORT" once it listens (the
// port the system chose when port is 0). Returns the exit status.
int serve(const ServiceOptions& options);

}  // namespace quendra::curia
