#include "storage/query/error.h"

#include "storage/dbase/codepage.h"

#include <algorithm>

namespace quendra::storage {

DbError queryError(std::string_view sql, std::size_t offset, const std::string& detail, DbError::Kind kind) {
    const std::size_t position = utf8Length(sql.substr(0, std::min(offset, sql.size()))) + 1;
    std::string message = "Errore nella query alla posizione ";
    message += std::to_string(position);
    message += ": ";
    message += detail;
    return DbError(kind, message);
}

}  // namespace quendra::storage
