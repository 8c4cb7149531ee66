#include "storage/dbase/codepage.h"
#include "storage/dbase/error.h"
#include "storage/query/parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using quendra::storage::DbError;

namespace {

// "Errore nella query alla posizione N: …" with N inside the text (or just after it).
bool namesAPositionInside(const std::string& message, std::string_view sql) {
    const std::string prefix = "Errore nella query alla posizione ";
    if (message.rfind(prefix, 0) != 0) return false;
    std::size_t position = 0;
    std::size_t i = prefix.size();
    for (; i < message.size() && message[i] >= '0' && message[i] <= '9'; ++i) position = position * 10 + std::size_t(message[i] - '0');
    return i < message.size() && message[i] == ':' && position >= 1 &&
           position <= quendra::storage::utf8Length(sql) + 1;
}

}  // namespace

// Any text: a statement or a DbError(BadQuery) naming a position in the text, never a crash.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    try {
        quendra::storage::parseQuery(sql);
    } catch (const DbError& e) {
        if (e.kind() != DbError::Kind::BadQuery || !namesAPositionInside(e.what(), sql)) std::abort();
    }
    return 0;
}
