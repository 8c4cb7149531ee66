#pragma once

#include <string>
#include <vector>

namespace quendra::tools {

// One subcommand of quendra-db. args excludes the program and command names. Returns
// the exit status; errors are printed to stderr in one line by the caller from the
// exception (std::exception::what()).
using CommandArgs = std::vector<std::string>;

int runInfo(const CommandArgs& args);
int runDump(const CommandArgs& args);
int runLoad(const CommandArgs& args);
int runCheck(const CommandArgs& args);
int runReindex(const CommandArgs& args);
int runQuery(const CommandArgs& args);
int runDemo(const CommandArgs& args);

}  // namespace quendra::tools
