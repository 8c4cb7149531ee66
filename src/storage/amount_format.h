#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quendra::storage {

// The number pictures the program shows, with "." as thousands and "," as decimal
// separator. Rounding is half to even on the exact binary value of the double, so 0.125
// shows "0,12" and 2.675 (stored just below) "2,67". A value that rounds to zero shows
// without a sign.
enum class Picture {
    GridAmount,  // "#0,.00   ."  1.234,50 followed by three blanks (journal grid columns)
    Amount,      // "#0,.00"      1.234,50 (amounts shown and printed)
    EditAmount,  // "0,.00"       1.234,50 (an amount put into an edit field)
    Calculator,  // "0,00"        1234,50  (calculator display: two decimals, no grouping)
    Margin,      // "#,.##"       2,5 / 28 / 1.234,5 (at most two decimals, none when whole)
};

std::string formatNumber(double value, Picture picture);

// An amount as the user types it: blanks around it are ignored, every "." is dropped and
// "," is the decimal separator ("1.234,50" and "1234,50" both give 1234.5). A sign may
// lead. nullopt for anything else (empty text, letters, two commas), so the caller can
// say so in Italian.
std::optional<double> parseAmount(std::string_view text);

// A whole number as typed: optional sign and digits, blanks around ignored.
std::optional<long long> parseWholeNumber(std::string_view text);

}  // namespace quendra::storage
