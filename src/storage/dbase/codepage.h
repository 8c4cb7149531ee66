#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::storage {

// Single-byte code pages met in dBase files. Tables we write are always Windows-1252.
enum class CodePage { Windows1252, Dos437, Dos850 };

// The code page a .dbf's language driver byte (header offset 29) names: 0x57, 0x03 and
// 0x00 (unset) are Windows-1252, 0x01 is DOS 437, 0x02 is DOS 850. Others: Windows-1252.
CodePage codePageFromDriver(std::uint8_t driverId);
// One of the bytes named above.
bool isKnownDriver(std::uint8_t driverId);

// Bytes of the code page to UTF-8. Every byte decodes (undefined Windows-1252 slots map
// to the C1 control of the same number, as Windows does).
std::string decodeToUtf8(std::string_view bytes, CodePage page);

// UTF-8 to bytes of the code page; nullopt when the text holds a character the page
// cannot represent, or is not valid UTF-8.
std::optional<std::string> encodeFromUtf8(std::string_view utf8, CodePage page);

// The first character of utf8 that the page cannot hold, as UTF-8 (for messages); empty
// when every character fits.
std::string firstUnencodable(std::string_view utf8, CodePage page);

// Reads one code point of UTF-8 at pos and moves pos past it; nullopt (pos moved by one
// byte) for a malformed, overlong or surrogate sequence.
std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& pos);

// Number of characters (code points) of a UTF-8 text.
std::size_t utf8Length(std::string_view utf8);

}  // namespace quendra::storage
