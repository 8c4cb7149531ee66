#include "tools/command_args.h"

#include <stdexcept>

namespace quendra::tools {

std::vector<std::string> ParsedArgs::all(const std::string& option) const {
    std::vector<std::string> values;
    const auto [from, to] = options.equal_range(option);
    for (auto it = from; it != to; ++it) values.push_back(it->second);
    return values;
}

std::string ParsedArgs::one(const std::string& option, const std::string& fallback) const {
    const auto it = options.find(option);
    return it == options.end() ? fallback : it->second;
}

ParsedArgs parseArgs(const CommandArgs& args, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions, std::size_t positionalCount) {
    ParsedArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0) {
            parsed.positional.push_back(word);
        } else if (valueOptions.count(word)) {
            if (i + 1 >= args.size()) throw std::runtime_error("manca il valore dopo " + word);
            parsed.options.emplace(word, args[++i]);
        } else if (flagOptions.count(word)) {
            parsed.flags.insert(word);
        } else {
            throw std::runtime_error("opzione sconosciuta " + word);
        }
    }
    if (parsed.positional.size() != positionalCount) {
        throw std::runtime_error("argomenti errati (vedi quendra-db --help)");
    }
    return parsed;
}

std::pair<std::string, std::string> splitAssignment(const std::string& text, const std::string& option) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        throw std::runtime_error(option + " vuole NOME=VALORE, non \"" + text + "\"");
    }
    return {text.substr(0, eq), text.substr(eq + 1)};
}

}  // namespace quendra::tools
