#include "tools/db_commands.h"

#include <cstring>
#include <exception>
#include <iostream>
#include <map>
#include <string>

namespace {

const char* kUsage =
    "quendra-db: strumento di manutenzione delle tabelle dBase di Quendra\n"
    "\n"
    "  quendra-db info FILE.dbf\n"
    "  quendra-db dump FILE.dbf [--tag NAME] [--deleted]\n"
    "  quendra-db load FILE.dbf --fields FIELDS [--tag NAME=FIELD]... [--replace] < rows.csv\n"
    "  quendra-db check FILE.dbf\n"
    "  quendra-db reindex FILE.dbf [--tag NAME=FIELD]...\n"
    "  quendra-db query \"SQL\" [--param NAME=VALUE]...\n"
    "  quendra-db demo DATADIR --year YYYY [--movements N] [--seed S] [--budget]\n"
    "\n"
    "FIELDS: name:type:len[:dec],...  (type C, N, D, L, F; D without a length)\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace quendra::tools;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::cout << kUsage;
        return argc < 2 ? 1 : 0;
    }
    const std::map<std::string, int (*)(const CommandArgs&)> commands = {
        {"info", runInfo}, {"dump", runDump},   {"load", runLoad}, {"check", runCheck},
        {"reindex", runReindex}, {"query", runQuery}, {"demo", runDemo},
    };
    const auto command = commands.find(argv[1]);
    if (command == commands.end()) {
        std::cerr << "quendra-db: comando sconosciuto \"" << argv[1] << "\" (vedi quendra-db --help)\n";
        return 1;
    }
    try {
        return command->second(CommandArgs(argv + 2, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "quendra-db: " << e.what() << '\n';
        return 1;
    }
}
