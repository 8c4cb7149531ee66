#include "support/json_value.h"

#include <charconv>
#include <stdexcept>

namespace quendra::test {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue document() {
        JsonValue value = parseValue();
        skipSpace();
        if (pos_ != text_.size()) fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(pos_));
    }

    void skipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r')) {
            ++pos_;
        }
    }

    char peek() {
        skipSpace();
        if (pos_ >= text_.size()) fail("unexpected end");
        return text_[pos_];
    }

    void expect(char c) {
        if (peek() != c) fail(std::string("expected '") + c + "'");
        ++pos_;
    }

    bool consume(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }

    bool literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    JsonValue parseValue() {
        JsonValue value;
        const char c = peek();
        if (c == '{') {
            value.type = JsonValue::Type::Object;
            ++pos_;
            while (!consume('}')) {
                if (!value.members.empty()) expect(',');
                std::string name = parseString();
                expect(':');
                value.members.emplace_back(std::move(name), parseValue());
            }
        } else if (c == '[') {
            value.type = JsonValue::Type::Array;
            ++pos_;
            while (!consume(']')) {
                if (!value.items.empty()) expect(',');
                value.items.push_back(parseValue());
            }
        } else if (c == '"') {
            value.type = JsonValue::Type::String;
            value.text = parseString();
        } else if (literal("true")) {
            value.type = JsonValue::Type::Bool;
            value.boolean = true;
        } else if (literal("false")) {
            value.type = JsonValue::Type::Bool;
        } else if (literal("null")) {
            value.type = JsonValue::Type::Null;
        } else {
            value.type = JsonValue::Type::Number;
            const auto [end, ec] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value.number);
            if (ec != std::errc()) fail("bad value");
            pos_ = std::size_t(end - text_.data());
        }
        return value;
    }

    unsigned hex4() {
        unsigned code = 0;
        const auto [end, ec] = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16);
        if (ec != std::errc() || end != text_.data() + pos_ + 4) fail("bad \\u escape");
        pos_ += 4;
        return code;
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    std::string parseString() {
        expect('"');
        std::string out;
        while (true) {
            if (pos_ >= text_.size()) fail("unterminated string");
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) fail("unterminated escape");
            switch (const char e = text_[pos_++]) {
            case '"': case '\\': case '/': out += e; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned code = hex4();
                if (code >= 0xD800 && code < 0xDC00 && literal("\\u")) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (hex4() - 0xDC00);
                }
                appendUtf8(out, code);
                break;
            }
            default: fail("bad escape");
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

void writeString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    out += '"';
}

}  // namespace

const JsonValue& JsonValue::operator[](std::string_view name) const {
    for (const auto& [key, value] : members) {
        if (key == name) return value;
    }
    throw std::out_of_range("no JSON member \"" + std::string(name) + "\"");
}

JsonValue parseJson(std::string_view text) { return Parser(text).document(); }

std::string toJson(const JsonValue& value) {
    std::string out;
    switch (value.type) {
    case JsonValue::Type::Null: return "null";
    case JsonValue::Type::Bool: return value.boolean ? "true" : "false";
    case JsonValue::Type::Number: {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.number);
        return std::string(buffer, result.ptr);
    }
    case JsonValue::Type::String: writeString(out, value.text); return out;
    case JsonValue::Type::Array:
        out += '[';
        for (std::size_t i = 0; i < value.items.size(); ++i) out += (i ? "," : "") + toJson(value.items[i]);
        return out + ']';
    case JsonValue::Type::Object:
        out += '{';
        for (std::size_t i = 0; i < value.members.size(); ++i) {
            if (i) out += ',';
            writeString(out, value.members[i].first);
            out += ':' + toJson(value.members[i].second);
        }
        return out + '}';
    }
    return out;
}

}  // namespace quendra::test
