#pragma once

#include <string_view>

namespace quendra::transfer {

// The update key a build carries for installations whose tovald.INI names none (the
// build option QUENDRA_UPDATE_KEY); empty when the build carries none.
std::string_view builtInUpdateKey();

}  // namespace quendra::transfer
