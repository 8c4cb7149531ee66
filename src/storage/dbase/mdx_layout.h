#pragma once

// Byte offsets of a dBase IV production index (.mdx) and small helpers shared by its
// reader, writer and tree maintenance. Not part of the engine's interface.

#include "storage/dbase/error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quendra::storage::mdx {

inline constexpr std::uint32_t kPageBytes = 512;
inline constexpr std::uint32_t kHeaderPages = 4;  // file header and tag table
inline constexpr std::uint16_t kPagesPerBlock = 2;  // what we write; others are read

// File header (page 0).
inline constexpr std::size_t kVersion = 0;
inline constexpr std::size_t kCreated = 1;       // YYMMDD, year − 1900
inline constexpr std::size_t kTableName = 4;     // 16 bytes
inline constexpr std::size_t kTableNameBytes = 16;
inline constexpr std::size_t kBlockPages = 20;   // u16
inline constexpr std::size_t kBlockBytes = 22;   // u16
inline constexpr std::size_t kProduction = 24;
inline constexpr std::size_t kTableEntries = 25;
inline constexpr std::size_t kEntryLength = 26;
inline constexpr std::size_t kTagsInUse = 28;    // u16
inline constexpr std::size_t kPagesInFile = 32;  // u32
inline constexpr std::size_t kFirstFree = 36;    // u32
inline constexpr std::size_t kBlocksFree = 40;   // u32
inline constexpr std::size_t kUpdated = 44;      // YYMMDD

// Tag table: 32-byte entries from byte 544 to the end of page 3, so at most 47 tags.
inline constexpr std::size_t kTagTable = 544;
inline constexpr std::size_t kTagEntryBytes = 32;
inline constexpr std::size_t kMaxTags = (kHeaderPages * kPageBytes - kTagTable) / kTagEntryBytes;
inline constexpr std::uint8_t kTableEntryCount = 48;
inline constexpr std::size_t kEntryHeaderPage = 0;  // u32
inline constexpr std::size_t kEntryName = 4;        // 11 bytes
inline constexpr std::size_t kEntryNameBytes = 11;
inline constexpr std::size_t kEntryKeyFormat = 15;
inline constexpr std::size_t kEntryLeft = 16;
inline constexpr std::size_t kEntryRight = 17;
inline constexpr std::size_t kEntryParent = 18;
inline constexpr std::size_t kEntryReserved = 19;
inline constexpr std::size_t kEntryKeyType = 20;

// Tag header (one block).
inline constexpr std::size_t kRootPage = 0;       // u32
inline constexpr std::size_t kTagPages = 4;       // u32
inline constexpr std::size_t kKeyFormat = 8;
inline constexpr std::size_t kKeyType = 9;
inline constexpr std::size_t kKeyLength = 12;     // u16
inline constexpr std::size_t kKeysPerNode = 14;   // u16
inline constexpr std::size_t kSecondaryType = 16; // u16
inline constexpr std::size_t kItemLength = 18;    // u16
inline constexpr std::size_t kUniqueFlag = 23;
inline constexpr std::size_t kExpression = 24;
inline constexpr std::size_t kMaxExpression = 220;

inline constexpr std::uint8_t kFormatField = 0x10;
inline constexpr std::uint8_t kFormatDescending = 0x08;
inline constexpr std::uint8_t kFormatUnique = 0x40;

// Nodes: key count, previous block, then the items; after the last item of an interior
// node the pointer to its rightmost child, after that of a leaf four zero bytes.
inline constexpr std::size_t kNodeCount = 0;  // u32
inline constexpr std::size_t kNodePrev = 4;   // u32
inline constexpr std::size_t kNodeItems = 8;
inline constexpr std::size_t kNodeOverhead = kNodeItems + 4;

// The longest C key dBase IV builds; it keeps at least nine keys in a 1024-byte node.
inline constexpr std::uint16_t kMaxCharKey = 100;

inline std::uint16_t getU16(std::string_view b, std::size_t at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

inline std::uint32_t getU32(std::string_view b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

inline void putU16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

inline void putU32(std::string& b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// 1 to 10 printable ASCII characters, no blank.
bool isValidTagName(std::string_view name);
// N keys are 12 bytes, D keys 8, C keys 1 to kMaxCharKey.
bool keyLengthFits(char keyType, std::uint16_t length);

// Writes today's local date as YYMMDD (year − 1900) at b[at].
void putToday(std::string& b, std::size_t at);

// "Indice "X.MDX" danneggiato: <why>".
DbError damaged(const std::string& label, const std::string& why);

// Where the tree of a tag writes its blocks: the open file, or a new file's bytes.
class BlockSink {
public:
    virtual ~BlockSink() = default;
    virtual std::uint32_t allocate() = 0;             // a block nobody references
    virtual void release(std::uint32_t page) = 0;     // no longer referenced
    virtual void write(std::uint32_t page, std::string_view block) = 0;
};

}  // namespace quendra::storage::mdx
