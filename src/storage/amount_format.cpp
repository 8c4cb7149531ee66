#include "storage/amount_format.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace quendra::storage {

namespace {

// Two decimals in the C form ("-1234.50"), whatever the process locale says. to_chars
// works on the exact binary value and rounds exact halves to even, which is the rounding
// the program promises.
std::string twoDecimals(double value) {
    char buffer[std::numeric_limits<double>::max_exponent10 + 32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

std::string groupThousands(std::string_view digits) {
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += '.';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string formatNumber(double value, Picture picture) {
    if (!std::isfinite(value)) {
        return {};
    }
    std::string text = twoDecimals(value);
    bool negative = text.front() == '-';
    if (negative) {
        text.erase(0, 1);
    }
    const std::size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = text.substr(point + 1);
    if (negative && whole == "0" && fraction == "00") {
        negative = false;
    }
    if (picture == Picture::Margin) {
        while (!fraction.empty() && fraction.back() == '0') {
            fraction.pop_back();
        }
    }
    std::string shown = negative ? "-" : "";
    shown += picture == Picture::Calculator ? whole : groupThousands(whole);
    if (!fraction.empty()) {
        shown += ',' + fraction;
    }
    if (picture == Picture::GridAmount) {
        shown += "   ";
    }
    return shown;
}

std::optional<double> parseAmount(std::string_view text) {
    text = trimBlanks(text);
    std::string plain;
    std::size_t digits = 0;
    bool comma = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            continue;
        }
        if ((c == '-' || c == '+') && i == 0) {
            if (c == '-') {
                plain += c;
            }
        } else if (c == ',' && !comma) {
            comma = true;
            plain += '.';
        } else if (isDigit(c)) {
            ++digits;
            plain += c;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> parseWholeNumber(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace quendra::storage
