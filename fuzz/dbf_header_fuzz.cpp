#include "storage/dbase/error.h"
#include "storage/dbase/dbf_header.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using quendra::storage::DbError;
using quendra::storage::DbfHeader;

// Any byte string: a header or a DbError, never a crash. What parses must serialize
// into bytes that parse to the same layout.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const DbfHeader header = DbfHeader::parse(bytes, size, "fuzz.dbf");
        const std::string again = header.serialize();
        const std::uint64_t fileSize = again.size() + std::uint64_t(header.recordCount) * header.recordLength;
        const DbfHeader reread = DbfHeader::parse(again, fileSize, "fuzz.dbf");
        if (reread.fieldOffsets != header.fieldOffsets || reread.headerLength != header.headerLength ||
            reread.recordLength != header.recordLength || reread.serialize() != again)
            std::abort();
    } catch (const DbError&) {
    }
    return 0;
}
