#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

struct MdxTagInfo {
    std::string name;         // as stored: upper case, at most 10 characters
    std::string expression;   // the key expression: a field name
    char keyType = 'C';       // 'C', 'N' or 'D'
    std::uint16_t keyLength = 0;  // field width for C, 12 for N, 8 for D
    bool unique = false;
    std::uint16_t keysPerNode = 0;  // as the tag header states
    std::uint16_t nodeRoom = 0;     // the keys a node of this key length holds
};

struct MdxEntry {
    std::string key;          // keyLength bytes, as stored in the file
    std::uint32_t recno = 0;  // counts from 1
};

// A dBase IV production index file (.mdx): read and validated whole when opened,
// written whole when created, and kept up to date in place key by key. Positions are
// indexes into a tag's ordered list of entries (key order, then record number).
// Every change goes to the file before the call returns.
class MdxFile {
public:
    // Parses the file, walks every tag and checks its structure (page numbers in range,
    // no page reached twice, node sizes, leaves in key order). Throws
    // DbError(IndexDamaged) naming the file for anything it cannot accept, or
    // DbError(IndexMissing) when the file does not exist.
    static std::unique_ptr<MdxFile> open(const std::filesystem::path& path);

    // Writes a new file with these tags and entries (each list already in order) to a
    // temporary file beside path, then renames it into place. tableName is the table's
    // base name without extension.
    static std::unique_ptr<MdxFile> create(const std::filesystem::path& path, std::string_view tableName,
                                           const std::vector<MdxTagInfo>& tags,
                                           const std::vector<std::vector<MdxEntry>>& entries);

    ~MdxFile();
    MdxFile(const MdxFile&) = delete;
    MdxFile& operator=(const MdxFile&) = delete;

    const std::filesystem::path& path() const;
    std::size_t tagCount() const;
    const MdxTagInfo& tag(std::size_t index) const;
    std::size_t entryCount(std::size_t tag) const;
    // The tag's entries in order.
    std::vector<MdxEntry> entries(std::size_t tag) const;

    // Inserts before position (0 … entryCount) / removes the entry at position, rewriting
    // the touched blocks in place (leaf, and when needed split nodes and the levels above).
    void insert(std::size_t tag, std::size_t position, std::string_view key, std::uint32_t recno);
    void erase(std::size_t tag, std::size_t position);

    // Closes the file, keeping what was read. takeBack() opens it again and tells whether
    // its bytes are still those read (only for an index not changed through this object).
    void letGo();
    bool takeBack();
    // Of the bytes read when opened (see IndexSeal).
    std::uint64_t digest() const;

private:
    struct Impl;
    explicit MdxFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra::storage
