#pragma once

#include <string>
#include <string_view>

namespace quendra::printing {

class Canvas;

// n copies of c ("Replicate").
std::string replicate(char c, int n);

// An amount as the reports print it ("euro"): nothing for exactly zero, otherwise
// "1.234,50" (half to even, a negative keeps its sign).
std::string euro(double amount);

// A movement number with thousands separators: 1234 -> "1.234".
std::string movementNumber(long long number);

// text cut from the right until it is at most maxWidth wide in the canvas's current font
// (what dropping one character after the other gives).
std::string cutToWidth(Canvas& canvas, std::string_view text, int maxWidth);

// The text without its trailing blanks (dBase pads character fields), or without the
// blanks on both sides.
std::string trimRight(std::string_view text);
std::string trimmed(std::string_view text);

// Characters from..from+count-1 (1-based, as the reports count them) of a byte string;
// what is there when the text is shorter.
std::string_view chars(std::string_view text, std::size_t from, std::size_t count);

}  // namespace quendra::printing
