#pragma once

#include "tools/db_commands.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quendra::tools {

// Positional words, "--name value" options (repeatable) and "--flag" switches.
struct ParsedArgs {
    std::vector<std::string> positional;
    std::multimap<std::string, std::string> options;
    std::set<std::string> flags;

    std::vector<std::string> all(const std::string& option) const;
    std::string one(const std::string& option, const std::string& fallback = "") const;
};

// valueOptions take a value, flagOptions do not; anything else starting with "--" is an
// error (std::runtime_error with an Italian message), as is a wrong positional count.
ParsedArgs parseArgs(const CommandArgs& args, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions, std::size_t positionalCount);

// "NAME=VALUE" split at the first "=".
std::pair<std::string, std::string> splitAssignment(const std::string& text, const std::string& option);

}  // namespace quendra::tools
