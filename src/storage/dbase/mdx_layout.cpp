#include "storage/dbase/mdx_layout.h"

#include "storage/dbase/mdx_key.h"

#include <algorithm>
#include <ctime>

namespace quendra::storage::mdx {

bool isValidTagName(std::string_view name) {
    return !name.empty() && name.size() < kEntryNameBytes &&
           std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

bool keyLengthFits(char keyType, std::uint16_t length) {
    switch (keyType) {
    case 'N': return length == kNumericKeyLength;
    case 'D': return length == kDateKeyLength;
    case 'C': return length >= 1 && length <= kMaxCharKey;
    default: return false;
    }
}

void putToday(std::string& b, std::size_t at) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    b[at] = char(local.tm_year);  // years since 1900, as the header wants
    b[at + 1] = char(local.tm_mon + 1);
    b[at + 2] = char(local.tm_mday);
}

DbError damaged(const std::string& label, const std::string& why) {
    return DbError(DbError::Kind::IndexDamaged, "Indice \"" + label + "\" danneggiato: " + why);
}

}  // namespace quendra::storage::mdx
