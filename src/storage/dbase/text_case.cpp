#include "storage/dbase/text_case.h"

#include <algorithm>

namespace quendra::storage {

namespace {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

// Works on the UTF-8 bytes: every letter handled here is two bytes long in both cases,
// so the text keeps its length and bytes that are not valid UTF-8 pass untouched.
std::string toUpperUtf8(std::string_view utf8) {
    std::string out(utf8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = out[i];
        if (c < 0x80) {
            out[i] = upperAscii(out[i]);
            continue;
        }
        if (i + 1 >= out.size()) break;
        const unsigned char next = out[i + 1];
        if (c == 0xC3) {
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7) {  // à-þ except ÷
                out[i + 1] = char(next - 0x20);
            } else if (next == 0xBF) {  // ÿ -> Ÿ (U+0178)
                out[i] = char(0xC5);
                out[i + 1] = char(0xB8);
            }
            ++i;
        } else if (c == 0xC5) {
            if (next == 0x93 || next == 0xA1 || next == 0xBE) out[i + 1] = char(next - 1);  // œ š ž
            ++i;
        }
    }
    return out;
}

bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return upperAscii(x) == upperAscii(y); });
}

}  // namespace quendra::storage
