#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::storage {

// A calendar date held as its Julian day number (1 January 2000 = 2451545), which is
// also what a dBase IV date key stores. The default value is the empty date, which
// sorts before every real date.
class Date {
public:
    constexpr Date() = default;
    static Date fromJulianDay(std::int32_t jdn) { Date d; d.jdn_ = jdn; return d; }
    // Throws std::invalid_argument for an impossible date (31.02., month 13, year 0).
    static Date fromYmd(int year, int month, int day);
    static std::optional<Date> tryFromYmd(int year, int month, int day);

    // "YYYYMMDD" as stored in a .dbf; eight blanks (or an empty view) give the empty date.
    static std::optional<Date> parseDbf(std::string_view text);
    // "dd.mm.yyyy", the form the user types and sees.
    static std::optional<Date> parseDisplay(std::string_view text);
    // "YYYY-MM-DD", the form of the tool's CSV.
    static std::optional<Date> parseIso(std::string_view text);

    bool isEmpty() const { return jdn_ == 0; }
    std::int32_t julianDay() const { return jdn_; }
    int year() const;
    int month() const;
    int day() const;

    std::string toDbf() const;      // "YYYYMMDD", eight blanks when empty
    std::string toDisplay() const;  // "dd.mm.yyyy", "" when empty
    std::string toIso() const;      // "YYYY-MM-DD", "" when empty

    Date addDays(int days) const { return fromJulianDay(jdn_ + days); }

    friend constexpr auto operator<=>(const Date&, const Date&) = default;

private:
    std::int32_t jdn_ = 0;
};

}  // namespace quendra::storage
