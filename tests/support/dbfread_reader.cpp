#include "support/dbfread_reader.h"

#include "support/run_program.h"

#include <sstream>
#include <stdexcept>

namespace quendra::test {

namespace {

const std::filesystem::path kPython = "/usr/bin/python3";

}  // namespace

bool dbfreadAvailable() {
    std::error_code ec;
    if (!std::filesystem::exists(kPython, ec)) return false;
    return runProgram(kPython, {"-c", "import dbfread"}).exitCode == 0;
}

DbfreadTable readWithDbfread(const std::filesystem::path& table, bool deletedRecords) {
    std::vector<std::string> args{QUENDRA_SOURCE_DIR "/tests/support/dbfread_dump.py", table.string()};
    if (deletedRecords) args.push_back("--deleted");
    const ProgramResult run = runProgram(kPython, args);
    if (run.exitCode != 0) {
        throw std::runtime_error("dbfread refused " + table.string() + ":\n" + run.err);
    }
    std::istringstream lines(run.out);
    std::string line;
    DbfreadTable result;
    if (!std::getline(lines, line)) throw std::runtime_error("dbfread printed nothing for " + table.string());
    result.facts = parseJson(line);
    while (std::getline(lines, line)) result.records.push_back(parseJson(line));
    return result;
}

}  // namespace quendra::test
