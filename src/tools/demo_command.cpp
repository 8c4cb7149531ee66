#include "budget/demo_budget.h"
#include "storage/demo_data.h"
#include "storage/program_home.h"
#include "storage/year_files.h"
#include "tools/command_args.h"
#include "tools/db_commands.h"

#include <iostream>
#include <stdexcept>

namespace quendra::tools {

namespace {

int wholeNumber(const std::string& text, const std::string& option) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= 0) return value;
    } catch (const std::exception&) {
    }
    throw std::runtime_error(option + " vuole un numero intero, non \"" + text + "\"");
}

}  // namespace

int runDemo(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {"--year", "--movements", "--seed"}, {"--budget"}, 1);
    if (parsed.one("--year").empty()) throw std::runtime_error("manca --year");
    storage::DemoOptions options;
    options.year = wholeNumber(parsed.one("--year"), "--year");
    options.movements = wholeNumber(parsed.one("--movements", "400"), "--movements");
    options.seed = unsigned(wholeNumber(parsed.one("--seed", "1"), "--seed"));
    const std::filesystem::path templates = storage::dataDirectory(storage::installDirectory());
    const std::string journal = storage::makeDemoDataDirectory(parsed.positional[0], templates, options);
    if (parsed.flags.contains("--budget")) budget::makeDemoBudget(parsed.positional[0], journal, options.seed);
    std::cout << journal << "\n";
    return 0;
}

}  // namespace quendra::tools
