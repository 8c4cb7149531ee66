#include "printing/print_text.h"

#include "printing/canvas.h"
#include "storage/amount_format.h"

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

namespace {

// Drops the last UTF-8 character.
void dropLastCharacter(std::string& text) {
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((byte & 0xC0) != 0x80) {
            return;
        }
    }
}

}  // namespace

std::string cutToWidth(Canvas& canvas, std::string_view text, int maxWidth) {
    std::string out(text);
    while (!out.empty() && canvas.textWidth(out) > maxWidth) {
        dropLastCharacter(out);
    }
    return out;
}

std::string_view chars(std::string_view text, std::size_t from, std::size_t count) {
    if (from == 0 || from > text.size()) {
        return {};
    }
    return text.substr(from - 1, count);
}

}  // namespace quendra::printing
