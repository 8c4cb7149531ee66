#pragma once

#include "storage/dbase/codepage.h"
#include "storage/dbase/error.h"
#include "storage/dbase/dbf_header.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/mdx_file.h"
#include "storage/dbase/tag_index.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

// Order-preserving sort keys. A C search key is encoded in the code page and padded
// with blanks (or cut) to the field width.
// The .mdx beside a table: first eight characters of its name, extension .mdx (an
// existing file is found whatever its case).
std::filesystem::path indexPathFor(const std::filesystem::path& table);
std::string numericSortKey(double value);
// Key type ('C', 'N', 'D') and key length of a tag on the field.
char indexKeyType(const FieldDef& field);
std::uint16_t indexKeyLength(const FieldDef& field);
// The key bytes an .mdx stores for a field's raw bytes.
std::string indexKeyOf(const FieldDef& field, std::string_view raw);
std::string dateSortKey(Date value);

// While one lives, changes are not made durable one by one: its finish() (or its end)
// syncs every table changed meanwhile once. For bulk operations (carry-forward, loads).
class DeferredSync {
public:
    DeferredSync();
    ~DeferredSync();
    DeferredSync(const DeferredSync&) = delete;
    DeferredSync& operator=(const DeferredSync&) = delete;
    void finish();

private:
    bool finished_ = false;
};

// How far ahead a walk over rows in an order of their own asks for the next ones
// (prefetchRecord): far enough to hide a trip to memory, near enough to stay cached.
inline constexpr std::size_t kRowsAhead = 8;

// The header of an open table file, read without reading its rows: its bytes, and parsed.
std::string readHeaderBytes(const FileHandle& file, std::uint64_t fileSize);
DbfHeader readHeader(const FileHandle& file, std::uint64_t fileSize);

// A table file held open once per process (see TableRegistry); cursors are positions on
// it. Rows live in memory and every change is written through at once.
class OpenTable {
public:
    const std::filesystem::path& path() const { return path_; }
    const DbfHeader& header() const { return header_; }
    const FieldList& fields() const { return header_.fields; }
    CodePage codePage() const { return header_.codePage(); }
    // Records in the file, deleted ones included; record numbers run 1 … physicalCount.
    std::uint32_t physicalCount() const { return header_.recordCount; }
    std::uint32_t visibleCount() const { return visible_; }
    // A flag byte other than ' ' and '*' is damage: DbError(BadValue) naming the row.
    bool isDeleted(std::uint32_t recno) const;
    // The record's bytes (flag byte first) and one field's bytes, in the code page.
    std::string_view record(std::uint32_t recno) const {
        return std::string_view(rows_.data() + std::size_t(recno - 1) * header_.recordLength, header_.recordLength);
    }
    // Brings a record towards the cache ahead of reading it (see kRowsAhead).
    void prefetchRecord(std::uint32_t recno) const {
        __builtin_prefetch(rows_.data() + std::size_t(recno - 1) * header_.recordLength);
    }
    std::string_view rawField(std::uint32_t recno, std::size_t field) const {
        return record(recno).substr(header_.fieldOffsets[field], header_.fields[field].length);
    }
    // A number field's value, or a date field's day number, decoded once and kept until
    // the row is written: the sums and orderings of every query read the same columns
    // again. A value that cannot be read throws as decoding it would, every time.
    double numberOf(std::uint32_t recno, std::size_t field) const;
    // Changes on every write, so readers can tell that cached positions may be stale.
    std::uint64_t version() const { return version_; }

    // Tags in memory; empty when the production index is missing or unusable.
    bool indexUsable() const { return ensureIndex().indexUsable_; }
    std::size_t tagCount() const { return ensureIndex().tags_.size(); }
    const TagIndex& tagAt(std::size_t i) const { return ensureIndex().tags_[i]; }
    // By tag name, or else by the field a tag is on (both case-blind); -1 when none.
    int findTag(std::string_view tagOrField) const;
    // The sort key of a record's field for tag i, and of a search value.
    std::string sortKeyOf(std::size_t tag, std::uint32_t recno) const;
    std::string searchKey(std::size_t tag, std::string_view text) const;

    // Writers (used by Cursor and the table operations).
    // Writes a whole record (flag byte first); recno = physicalCount + 1 appends.
    void writeRecord(std::uint32_t recno, std::string_view bytes);
    void setDeleted(std::uint32_t recno, bool deleted);
    void addTag(const std::string& tagName, std::size_t field);

    // Replaces the production index by one with exactly these tags (name, field index),
    // built from the rows; sets byte 28 and the descriptors' tag flags.
    void rebuildIndex(const std::vector<std::pair<std::string, std::size_t>>& tags);
    // The rows' bytes after the header.
    std::string_view rowBytes() const { return std::string_view(rows_.data(), rows_.size()); }
    // Why the production index is unusable ("" when it is fine or there is none).
    const std::string& indexProblem() const { return ensureIndex().indexProblem_; }
    DbError::Kind indexProblemKind() const { return ensureIndex().indexProblemKind_; }

    bool exclusive() const { return exclusive_; }

    // Whether an exclusive load reads and checks the production index at once; the
    // operations that replace the index skip reading the one they throw away. Check
    // trusts a seal that still fits both files' bytes; Verify compares every key anyway.
    enum class IndexOnLoad { Check, Verify, Skip };

    // Reads a table file. Exclusive takes an exclusive OS lock. A production index that
    // cannot be used leaves the table in physical order (see indexProblem()).
    static std::unique_ptr<OpenTable> load(const std::filesystem::path& path, bool exclusive,
                                           IndexOnLoad index = IndexOnLoad::Check);

    // When its last holder lets go, a table that was only read can give its file back and
    // keep what it read: reopening the same bytes then reads and checks nothing again.
    // False when it must not be kept (written here, or its index could not be read).
    bool letGo() noexcept;
    // Takes the file back (throws like load() when it cannot be had); false when its bytes
    // or its index's are no longer the ones read, and the table must be loaded anew.
    bool takeBack(bool exclusive);
    bool written() const { return written_; }
    // The table as a written one left it, loaded anew with every key compared with its
    // row and sealed when they agree, so that the next program's open needs no such
    // comparison; nullptr when it cannot be had now.
    static std::unique_ptr<OpenTable> verified(const std::filesystem::path& path) noexcept;

    ~OpenTable();

private:
    friend class DeferredSync;
    OpenTable() = default;
    // Takes the write lock before the first change of a shared holder.
    void beginWrite();
    // Makes the change durable (fdatasync), or notes it for the DeferredSync running.
    void finishWrite();
    // The .mdx is read and checked against the rows when first needed: a shared open
    // that only scans pays nothing for it, and an exclusive open checks it at once.
    const OpenTable& ensureIndex() const;
    // Header and rows from the file, as they are now.
    void readRows();
    bool rowsStillInFile() const;
    void loadIndex();
    void validateEntries(const MdxFile& mdx, bool sealed);
    std::uint64_t rowsDigest() const;
    std::string fileKeyOf(std::size_t tag, std::uint32_t recno) const;
    std::string sortKeyFromRaw(std::size_t tag, std::string_view raw) const;
    void updateTags(std::uint32_t recno, std::string_view oldRecord, bool isNew);
    void writeHeader();
    void markIndexUnusable(DbError::Kind kind, const std::string& why);

    std::filesystem::path path_;
    FileHandle file_;
    FileHandle::Stamp stamp_;
    bool writer_ = false;
    bool exclusive_ = false;
    bool written_ = false;
    bool verifyIndex_ = false;  // compare every key even where a seal fits
    bool indexSealed_ = false;  // the index was taken on its seal
    std::string headerBytes_;  // as read, to tell later whether the file is still the same
    DbfHeader header_;
    std::vector<char> rows_;
    std::uint32_t visible_ = 0;
    std::uint64_t version_ = 0;
    bool indexPending_ = false;
    bool indexUsable_ = false;
    std::string indexProblem_;
    DbError::Kind indexProblemKind_ = DbError::Kind::IndexDamaged;
    std::unique_ptr<MdxFile> mdx_;
    std::vector<TagIndex> tags_;
    mutable std::vector<std::vector<double>> numbers_;  // by field; empty until first asked
};

}  // namespace quendra::storage
