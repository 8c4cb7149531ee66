#include "years/year_tables.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"

namespace quendra::years {

using namespace storage;

std::filesystem::path yearTablePath(const std::filesystem::path& dataDir, YearTable kind, std::string_view yearNumber) {
    return resolveCaseBlind(dataDir, yearFileName(kind, yearNumber));
}

void ensureIndexUsable(YearTable kind, const std::filesystem::path& table) {
    try {
        ensureYearTableSound(kind, table.parent_path(), table.filename().string());
    } catch (const DbError& error) {
        if (error.kind() != DbError::Kind::Locked) throw;
    }
}

std::string firstCharacters(std::string_view utf8, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < utf8.size() && characters < count; ++characters) {
        ++end;
        // Continuation bytes belong to the character they follow.
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    }
    return std::string(utf8.substr(0, end));
}

}  // namespace quendra::years
