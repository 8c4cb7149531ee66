#pragma once

#include "storage/dbase/date.h"

#include <optional>
#include <string>
#include <string_view>

namespace quendra::storage {

// Key bytes of a dBase IV production index, and their order.
// C keys: the field's raw bytes (blank padded), compared byte by byte.
// N keys: 12-byte packed decimal. D keys: 8-byte IEEE double of the Julian day number.

inline constexpr std::size_t kNumericKeyLength = 12;
inline constexpr std::size_t kDateKeyLength = 8;

// From the ASCII text of a numeric field ("  -12.50", blanks = 0). nullopt when the text
// is no number or needs more than 20 significant digits.
std::optional<std::string> encodeNumericKey(std::string_view asciiNumber);
// The value a numeric key stands for (nullopt for a malformed key).
std::optional<double> decodeNumericKey(std::string_view key);

// The empty date is stored as 0.0 and so sorts before every date.
std::string encodeDateKey(Date date);
std::optional<Date> decodeDateKey(std::string_view key);

// <0, 0, >0 in the index's order for keys of type 'C', 'N' or 'D'.
int compareKeys(char keyType, std::string_view a, std::string_view b);

}  // namespace quendra::storage
