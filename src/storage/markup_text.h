#pragma once

#include <string>
#include <string_view>

namespace quendra::storage {

// & < > " ' as character references: text safe inside HTML and XML, in elements and in
// quoted attributes alike.
std::string escapeMarkup(std::string_view text);

}  // namespace quendra::storage
