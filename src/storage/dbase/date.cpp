#include "storage/dbase/date.h"

#include <stdexcept>

namespace quendra::storage {

namespace {

struct Ymd {
    int year;
    int month;
    int day;
};

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::int32_t julianDayOf(int year, int month, int day) {
    const int a = (14 - month) / 12;
    const long y = year + 4800L - a;
    const long m = month + 12L * a - 3;
    return std::int32_t(day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045);
}

Ymd civilOf(std::int32_t jdn) {
    if (jdn == 0) return {0, 0, 0};
    const long a = jdn + 32044L;
    const long b = (4 * a + 3) / 146097;
    const long c = a - 146097 * b / 4;
    const long d = (4 * c + 3) / 1461;
    const long e = c - 1461 * d / 4;
    const long m = (5 * e + 2) / 153;
    return {int(100 * b + d - 4800 + m / 10), int(m + 3 - 12 * (m / 10)), int(e - (153 * m + 2) / 5 + 1)};
}

// The value of text[pos, pos+count) when all of it are ASCII digits, else -1.
int digitsAt(std::string_view text, std::size_t pos, std::size_t count) {
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<Date> fromParts(int year, int month, int day) {
    if (year < 0 || month < 0 || day < 0) return std::nullopt;
    return Date::tryFromYmd(year, month, day);
}

void appendDigits(std::string& out, int value, int count) {
    std::string digits(count, '0');
    for (int i = count - 1; i >= 0 && value > 0; --i, value /= 10) digits[i] = char('0' + value % 10);
    out += digits;
}

}  // namespace

std::optional<Date> Date::tryFromYmd(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;
    return fromJulianDay(julianDayOf(year, month, day));
}

Date Date::fromYmd(int year, int month, int day) {
    if (const auto date = tryFromYmd(year, month, day)) return *date;
    throw std::invalid_argument("Data non valida: " + std::to_string(day) + "." + std::to_string(month) + "." +
                                std::to_string(year));
}

std::optional<Date> Date::parseDbf(std::string_view text) {
    if (text.find_first_not_of(' ') == std::string_view::npos) return Date{};
    if (text.size() != 8) return std::nullopt;
    return fromParts(digitsAt(text, 0, 4), digitsAt(text, 4, 2), digitsAt(text, 6, 2));
}

std::optional<Date> Date::parseDisplay(std::string_view text) {
    if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
    return fromParts(digitsAt(text, 6, 4), digitsAt(text, 3, 2), digitsAt(text, 0, 2));
}

std::optional<Date> Date::parseIso(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    return fromParts(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
}

int Date::year() const { return civilOf(jdn_).year; }
int Date::month() const { return civilOf(jdn_).month; }
int Date::day() const { return civilOf(jdn_).day; }

std::string Date::toDbf() const {
    if (isEmpty()) return std::string(8, ' ');
    const Ymd ymd = civilOf(jdn_);
    std::string out;
    appendDigits(out, ymd.year, 4);
    appendDigits(out, ymd.month, 2);
    appendDigits(out, ymd.day, 2);
    return out;
}

std::string Date::toDisplay() const {
    if (isEmpty()) return {};
    const Ymd ymd = civilOf(jdn_);
    std::string out;
    appendDigits(out, ymd.day, 2);
    out += '.';
    appendDigits(out, ymd.month, 2);
    out += '.';
    appendDigits(out, ymd.year, 4);
    return out;
}

std::string Date::toIso() const {
    if (isEmpty()) return {};
    const Ymd ymd = civilOf(jdn_);
    std::string out;
    appendDigits(out, ymd.year, 4);
    out += '-';
    appendDigits(out, ymd.month, 2);
    out += '-';
    appendDigits(out, ymd.day, 2);
    return out;
}

}  // namespace quendra::storage
