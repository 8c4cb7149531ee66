#pragma once

#include <string>
#include <string_view>

namespace quendra::storage {

// Upper case of a UTF-8 text for case-blind comparisons and upper(...): ASCII plus the
// accented letters of Italian and German (àèéìòù…, äöü; ß stays ß). Other characters pass.
std::string toUpperUtf8(std::string_view utf8);

// Case-blind equality of ASCII names (field and tag names).
bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b);

}  // namespace quendra::storage
