#pragma once

#include "storage/dbase/cursor.h"

#include <filesystem>
#include <map>
#include <string>

namespace quendra::spreadsheet {

// The names the chart gives an account code: those of the first chart row whose code is
// not less than it (the account itself when the chart has it). Codes repeat row after row
// in a sorted journal, so each is looked up once.
class ChartNames {
public:
    struct Names {
        std::string text;   // TEXT: the account's own name
        std::string texth;  // TEXTH: its main account's name
    };

    // Opens the chart shared, in code order; throws DbError.
    explicit ChartNames(const std::filesystem::path& chartPath);

    // Empty texts when no row has a code that large.
    const Names& of(const std::string& code);

    // The parish header row: the chart's first row in code order.
    struct Parish {
        std::string name, place, deanery;
    };
    Parish parish();

private:
    storage::Cursor chart_;
    std::map<std::string, Names, std::less<>> known_;
};

}  // namespace quendra::spreadsheet
