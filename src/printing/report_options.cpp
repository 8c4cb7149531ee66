#include "printing/report_options.h"

#include "storage/amount_format.h"

namespace quendra::printing {

std::optional<RangeBound> parseRangeBound(const std::string& text) {
    if (const auto date = storage::Date::parseDisplay(text)) {
        return RangeBound{*date};
    }
    if (const auto number = storage::parseWholeNumber(text); number && *number >= 0) {
        return RangeBound{*number};
    }
    return std::nullopt;
}

}  // namespace quendra::printing
