#include "bankimport/bank_values.h"

#include "storage/amount_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace quendra::bankimport {

using storage::Date;

namespace {

std::string_view trim(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t\r\n\"");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n\"") - begin + 1);
}

bool dropSuffix(std::string_view& text, std::string_view suffix) {
    if (!text.ends_with(suffix)) return false;
    text = trim(text.substr(0, text.size() - suffix.size()));
    return true;
}

bool dropPrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text = trim(text.substr(prefix.size()));
    return true;
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<int> number(std::string_view text) {
    if (!allDigits(text)) return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A dot is a decimal point only when no comma is there and one or two digits follow
// it at the end ("12.5", "1234.56"); "1.234" is a thousand.
bool dotIsDecimal(std::string_view text) {
    if (text.find(',') != std::string_view::npos) return false;
    const auto dot = text.rfind('.');
    if (dot == std::string_view::npos || text.find('.') != dot) return false;
    const std::size_t decimals = text.size() - dot - 1;
    return decimals == 1 || decimals == 2;
}

}  // namespace

std::optional<double> parseBankAmount(std::string_view text) {
    text = trim(text);
    for (std::string_view mark : {"EUR", "\xE2\x82\xAC"}) {
        if (!dropSuffix(text, mark)) dropPrefix(text, mark);
    }
    bool negative = false;
    if (dropSuffix(text, "-")) negative = true;
    if (text.empty()) return std::nullopt;
    if (!dotIsDecimal(text)) {
        const std::optional<double> value = storage::parseAmount(text);
        if (!value) return std::nullopt;
        return negative ? -*value : *value;
    }
    if (text.front() == '-') {
        negative = !negative;
        text.remove_prefix(1);
    } else if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<Date> parseBankDate(std::string_view text) {
    text = trim(text);
    if (const auto blank = text.find_first_of(" T"); blank != std::string_view::npos) text = text.substr(0, blank);
    const auto separator = text.find_first_of("/.-");
    if (separator == std::string_view::npos) return std::nullopt;
    const char mark = text[separator];
    const auto second = text.find(mark, separator + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto first = number(text.substr(0, separator));
    const auto middle = number(text.substr(separator + 1, second - separator - 1));
    const std::string_view lastText = text.substr(second + 1);
    const auto last = number(lastText);
    if (!first || !middle || !last) return std::nullopt;
    if (separator == 4 && mark == '-') return Date::tryFromYmd(*first, *middle, *last);
    if (separator > 2) return std::nullopt;
    if (lastText.size() == 2) return Date::tryFromYmd(2000 + *last, *middle, *first);
    if (lastText.size() != 4) return std::nullopt;
    return Date::tryFromYmd(*last, *middle, *first);
}

std::string collapseBlanks(std::string_view text) {
    std::string out;
    bool pendingBlank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank) out.push_back(' ');
        pendingBlank = false;
        out.push_back(c);
    }
    return out;
}

std::string hashText(std::string_view text) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string digits;
    for (int i = 0; i < 16; ++i, hash >>= 4) digits.push_back(kHex[hash & 0xF]);
    return digits;
}

}  // namespace quendra::bankimport
