#pragma once

#include "storage/dbase/date.h"

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quendra::storage {

using QueryValue = std::variant<std::string, double, Date>;

// Values for the :name parameters of a query. Names are case-blind and may be given with
// or without the colon. A value is data, never query text: a quote, % or ) inside it is
// just a character, also in a like pattern.
class QueryParams {
public:
    QueryParams& text(std::string_view name, std::string_view value);
    QueryParams& number(std::string_view name, double value);
    QueryParams& date(std::string_view name, Date value);

    // nullptr when the parameter was not given.
    const QueryValue* find(std::string_view name) const;

private:
    QueryParams& set(std::string_view name, QueryValue value);

    std::vector<std::pair<std::string, QueryValue>> values_;
};

}  // namespace quendra::storage
