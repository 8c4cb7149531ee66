#include "storage/query/query.h"
#include "storage/query/parser.h"
#include "tools/command_args.h"
#include "tools/db_commands.h"
#include "tools/dump_format.h"

#include <iostream>
#include <sstream>

namespace quendra::tools {

using namespace storage;

// A value of the form YYYY-MM-DD travels as a date, anything else as text.
int runQuery(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {"--param"}, {}, 1);
    QueryParams params;
    for (const std::string& assignment : parsed.all("--param")) {
        const auto [name, value] = splitAssignment(assignment, "--param");
        if (const auto date = Date::parseIso(value))
            params.date(name, *date);
        else
            params.text(name, value);
    }
    const std::string& sql = parsed.positional[0];
    if (parseQuery(sql).kind == Statement::Kind::Delete) {
        std::cout << runDelete(sql, params) << '\n';
        return 0;
    }
    const auto result = runSelect(sql, params);
    // Out only once every row has been read: a damaged row stops the query without half
    // a result on the output.
    std::ostringstream out;
    dumpRows(out, *result);
    std::cout << out.str();
    return 0;
}

}  // namespace quendra::tools
