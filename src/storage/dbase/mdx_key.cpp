#include "storage/dbase/mdx_key.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace quendra::storage {

// N keys: byte 0 is 52 + the decimal exponent (digits before the point, or minus the
// zeros right after it), byte 1 is (digit count << 2) | 1 plus 0x80 when negative,
// bytes 2-11 hold up to 20 digits, two per byte, high nibble first. Zero is stored as
// exponent byte 52, byte 1 = 0x01 (no digits, positive) and ten zero bytes; any key
// whose digits are all zero reads as zero, whatever its other bytes say.

namespace {

constexpr int kExponentBias = 52;
constexpr std::size_t kMaxDigits = 20;
constexpr std::size_t kDigitsOffset = 2;
constexpr unsigned char kNegative = 0x80;

unsigned char keyByte(std::string_view key, std::size_t i) { return static_cast<unsigned char>(key[i]); }

int sign(int v) { return (v > 0) - (v < 0); }

bool digitsAreZero(std::string_view key) {
    for (std::size_t i = kDigitsOffset; i < kNumericKeyLength; ++i) {
        if (key[i] != 0) return false;
    }
    return true;
}

// -1, 0, +1 for a numeric key of the right length.
int numericSign(std::string_view key) {
    if (digitsAreZero(key)) return 0;
    return (keyByte(key, 1) & kNegative) ? -1 : 1;
}

int compareNumeric(std::string_view a, std::string_view b) {
    const int sa = numericSign(a);
    const int sb = numericSign(b);
    if (sa != sb) return sa < sb ? -1 : 1;
    if (sa == 0) return 0;
    int c = int(keyByte(a, 0)) - int(keyByte(b, 0));
    if (c == 0) c = std::memcmp(a.data() + kDigitsOffset, b.data() + kDigitsOffset, kNumericKeyLength - kDigitsOffset);
    return sa * sign(c);
}

double doubleFromKey(std::string_view key) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < kDateKeyLength; ++i) bits |= std::uint64_t(keyByte(key, i)) << (8 * i);
    return std::bit_cast<double>(bits);
}

int compareBytes(std::string_view a, std::string_view b) { return sign(a.compare(b)); }

}  // namespace

std::optional<std::string> encodeNumericKey(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
        if (text.empty()) return std::nullopt;
    }
    const std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!text.empty() && whole.empty() && fraction.empty()) return std::nullopt;  // "." alone
    for (std::string_view part : {whole, fraction}) {
        for (char c : part) {
            if (c < '0' || c > '9') return std::nullopt;
        }
    }
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);

    int exponent = int(whole.size());
    if (whole.empty()) {
        while (!fraction.empty() && fraction.front() == '0') {
            fraction.remove_prefix(1);
            --exponent;
        }
    }
    const std::string digits = std::string(whole) + std::string(fraction);
    if (digits.size() > kMaxDigits || exponent < -kExponentBias) return std::nullopt;

    std::string key(kNumericKeyLength, '\0');
    if (digits.empty()) {
        key[0] = char(kExponentBias);
        key[1] = char(0x01);
        return key;
    }
    key[0] = char(kExponentBias + exponent);
    key[1] = char((digits.size() << 2) | 0x01 | (negative ? kNegative : 0));
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int d = digits[i] - '0';
        key[kDigitsOffset + i / 2] = char(keyByte(key, kDigitsOffset + i / 2) | (i % 2 == 0 ? d << 4 : d));
    }
    return key;
}

std::optional<double> decodeNumericKey(std::string_view key) {
    if (key.size() != kNumericKeyLength) return std::nullopt;
    const std::size_t count = (keyByte(key, 1) >> 2) & 0x1F;
    if (count > kMaxDigits) return std::nullopt;
    // "0.<digits>e<exponent>": from_chars rounds the decimal text exactly once.
    std::string text = "0.";
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char b = keyByte(key, kDigitsOffset + i / 2);
        const int d = i % 2 == 0 ? b >> 4 : b & 0x0F;
        if (d > 9) return std::nullopt;
        text += char('0' + d);
    }
    if (count == 0 || digitsAreZero(key)) return 0.0;
    text += 'e' + std::to_string(int(keyByte(key, 0)) - kExponentBias);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return (keyByte(key, 1) & kNegative) ? -value : value;
}

std::string encodeDateKey(Date date) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(double(date.julianDay()));
    std::string key(kDateKeyLength, '\0');
    for (std::size_t i = 0; i < kDateKeyLength; ++i) key[i] = char((bits >> (8 * i)) & 0xFF);
    return key;
}

std::optional<Date> decodeDateKey(std::string_view key) {
    if (key.size() != kDateKeyLength) return std::nullopt;
    const double day = doubleFromKey(key);
    if (day == 0.0) return Date();
    if (!(day >= 1.0 && day <= double(std::numeric_limits<std::int32_t>::max())) || std::floor(day) != day) {
        return std::nullopt;
    }
    return Date::fromJulianDay(std::int32_t(day));
}

int compareKeys(char keyType, std::string_view a, std::string_view b) {
    if (keyType == 'N' && a.size() == kNumericKeyLength && b.size() == kNumericKeyLength) {
        return compareNumeric(a, b);
    }
    if (keyType == 'D' && a.size() == kDateKeyLength && b.size() == kDateKeyLength) {
        const double x = doubleFromKey(a);
        const double y = doubleFromKey(b);
        if (x < y) return -1;
        if (y < x) return 1;
        if (x == y) return 0;
        // NaN is no date; byte order keeps the comparison a total order.
    }
    return compareBytes(a, b);
}

}  // namespace quendra::storage
