#include "transfer/update_key.h"

#ifndef QUENDRA_UPDATE_KEY
#define QUENDRA_UPDATE_KEY ""
#endif

namespace quendra::transfer {

std::string_view builtInUpdateKey() { return QUENDRA_UPDATE_KEY; }

}  // namespace quendra::transfer
