#include "storage/dbase/row_reader.h"

#include "storage/dbase/error.h"

#include <cmath>

namespace quendra::storage {

std::size_t RowReader::fieldIndex(std::string_view name) const {
    const int index = findField(name);
    if (index < 0) throw DbError(DbError::Kind::NoSuchField, "Campo \"" + std::string(name) + "\" inesistente");
    return std::size_t(index);
}

long long RowReader::asInteger(std::size_t index) const { return std::llround(asNumber(index)); }

}  // namespace quendra::storage
