#include "printing/print_text.h"

#include "printing/canvas.h"
#include "storage/amount_format.h"

#include <vector>

namespace quendra::printing {

std::string replicate(char c, int n) { return n > 0 ? std::string(static_cast<std::size_t>(n), c) : std::string(); }

std::string euro(double amount) {
    if (amount == 0) {
        return {};
    }
    return storage::formatNumber(amount, storage::Picture::Amount);
}

std::string movementNumber(long long number) {
    const bool negative = number < 0;
    std::string digits = std::to_string(negative ? -number : number);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += '.';
        }
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

std::string cutToWidth(Canvas& canvas, std::string_view text, int maxWidth) {
    if (canvas.textWidth(text) <= maxWidth) {
        return std::string(text);
    }
    // Widths grow with every character, so the longest prefix that fits is found by
    // halving rather than by dropping one character after the other.
    std::vector<std::size_t> ends;  // byte length of the prefix of 1, 2, ... characters
    for (std::size_t i = 1; i <= text.size(); ++i) {
        if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ends.push_back(i);
        }
    }
    std::size_t fits = 0;  // characters known to fit
    std::size_t tooMany = ends.size();
    while (tooMany - fits > 1) {
        const std::size_t middle = (fits + tooMany) / 2;
        if (canvas.textWidth(text.substr(0, ends[middle - 1])) <= maxWidth) {
            fits = middle;
        } else {
            tooMany = middle;
        }
    }
    return std::string(text.substr(0, fits == 0 ? 0 : ends[fits - 1]));
}

std::string trimRight(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

std::string trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(' ');
    return begin == std::string_view::npos ? std::string() : trimRight(text.substr(begin));
}

std::string_view chars(std::string_view text, std::size_t from, std::size_t count) {
    if (from == 0 || from > text.size()) {
        return {};
    }
    return text.substr(from - 1, count);
}

}  // namespace quendra::printing
