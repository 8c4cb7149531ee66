#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::test {

struct ProgramResult {
    int exitCode = -1;  // 128 + signal number when the program was killed
    std::string out;
    std::string err;
};

// Runs a program with these arguments and input on its standard input, and waits for
// it. Output goes through files, so a chatty program cannot block on a full pipe.
ProgramResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         std::string_view input = {});

}  // namespace quendra::test
