#pragma once

#include "storage/dbase/error.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quendra::storage {

// "Errore nella query alla posizione N: detail", N counting characters of sql from 1 at
// byte offset.
DbError queryError(std::string_view sql, std::size_t offset, const std::string& detail,
                   DbError::Kind kind = DbError::Kind::BadQuery);

}  // namespace quendra::storage
