#pragma once

#include "storage/dbase/mdx_file.h"
#include "storage/dbase/run_counts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

// The order of a tag's entries: by sort key, then by record number.
bool entryLess(std::string_view keyA, std::uint32_t recA, std::string_view keyB, std::uint32_t recB);

// One tag of an open table, held in memory in key order (always matching the rows; the
// .mdx on disk is kept equal to it). Sort keys are byte strings whose byte order is the
// tag's order: the raw bytes for C, an order-preserving encoding of the value for N, D.
// The entries lie in chunks of bounded size with their counts in a Fenwick tree, so that
// a change and a lookup by position or by key cost O(log n), not a shift of the whole tag.
class TagIndex {
public:
    struct Entry {
        std::string key;
        std::uint32_t recno;
    };

    const MdxTagInfo& info() const { return info_; }
    std::size_t fieldIndex() const { return field_; }
    std::size_t size() const { return size_; }
    std::uint32_t recnoAt(std::size_t pos) const { return at(pos).recno; }
    std::string_view sortKeyAt(std::size_t pos) const { return at(pos).key; }
    // First position whose (key, recno) is not smaller / greater than (sortKey, recno).
    std::size_t lowerBound(std::string_view sortKey, std::uint32_t recno = 0) const;
    std::size_t upperBound(std::string_view sortKey, std::uint32_t recno = UINT32_MAX) const;

    // The open table keeps the tag equal to its rows through these.
    TagIndex(MdxTagInfo info, std::size_t field, std::vector<Entry> ordered);
    void insertAt(std::size_t pos, Entry entry);
    void eraseAt(std::size_t pos);

private:
    const Entry& at(std::size_t pos) const;
    // The first position whose entry is beyond (beyond is false, then true, in order).
    template <class Beyond>
    std::size_t firstBeyond(Beyond beyond) const;
    void recount();

    MdxTagInfo info_;
    std::size_t field_ = 0;
    std::vector<std::vector<Entry>> chunks_;  // none empty
    RunCounts counts_;
    std::size_t size_ = 0;
    // The chunk of the last lookup by position and its first position: a walk in key order
    // then costs O(1) a step instead of a descent of the counts. Any change forgets it.
    mutable std::size_t hintChunk_ = 0;
    mutable std::size_t hintStart_ = SIZE_MAX;
};

}  // namespace quendra::storage
