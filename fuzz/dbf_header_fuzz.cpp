#include "storage/dbase/error.h"
#include "storage/dbase/dbf_header.h"
#include "storage/dbase/field_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using quendra::storage::DbError;
using quendra::storage::DbfHeader;
using quendra::storage::FieldType;

namespace {

// The rows the input holds after a header that parsed: a NUL is never a number, date or
// logical value, and the number reader agrees with the check.
void checkValues(const DbfHeader& header, std::string_view bytes) {
    for (std::size_t at = header.headerLength; at + header.recordLength <= bytes.size(); at += header.recordLength) {
        for (std::size_t f = 0; f < header.fields.size(); ++f) {
            const auto& def = header.fields[f];
            const std::string_view raw = bytes.substr(at + header.fieldOffsets[f], def.length);
            const bool readable = quendra::storage::fieldValueProblem(def, raw).empty();
            if (readable && def.type != FieldType::Character && raw.find('\0') != std::string_view::npos) std::abort();
            if (def.isNumeric() && readable != quendra::storage::readableNumber(def, raw).has_value()) std::abort();
        }
    }
}

}  // namespace

// Any byte string: a header or a DbError, never a crash. What parses must serialize
// into bytes that parse to the same layout, and its rows are read strictly.
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
        checkValues(header, bytes);
    } catch (const DbError&) {
    }
    return 0;
}
