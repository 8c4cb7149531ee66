#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quendra::test {

// A parsed JSON value, enough to read what helper scripts print. Object members keep
// the order they were written in.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };

    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool isNull() const { return type == Type::Null; }
    // The member of that name; throws std::out_of_range when there is none.
    const JsonValue& operator[](std::string_view name) const;
};

// Throws std::runtime_error for text that is not one JSON value.
JsonValue parseJson(std::string_view text);

// The value as JSON text, for failure messages.
std::string toJson(const JsonValue& value);

}  // namespace quendra::test
