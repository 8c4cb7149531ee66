#pragma once

#include "storage/dbase/mdx_file.h"
#include "storage/dbase/mdx_layout.h"
#include "storage/dbase/run_counts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quendra::storage::mdx {

struct TagGeometry {
    std::uint32_t blockBytes = 0;
    std::uint16_t keyLength = 0;
    std::uint16_t itemLength = 0;
    std::uint16_t capacity = 0;  // keys we put in one node, at least 2
};

// The B-tree of one tag, held as its list of leaves (whole block images, in key order)
// and the pages of its interior levels. Leaves change one at a time; whenever the set of
// leaves or a separator key changes, the interior levels are built anew from the leaf
// list onto the same pages, and only blocks whose bytes differ are written.
class TagTree {
public:
    TagTree(MdxTagInfo info, TagGeometry geometry, std::uint32_t headerPage, std::string headerBlock);

    // Loading a tree that is on disk: its leaves in key order (never an empty one unless
    // it is the only leaf), then its other pages, interior levels from the root down,
    // each level left to right.
    void addLeaf(std::uint32_t page, std::string block);
    void addReusablePage(std::uint32_t page, std::string block);

    // A new tree holding entries (in order), leaves filled to about nine tenths.
    void fill(BlockSink& sink, const std::vector<MdxEntry>& entries);

    const MdxTagInfo& info() const { return info_; }
    const TagGeometry& geometry() const { return geometry_; }
    std::size_t size() const { return size_; }
    std::vector<MdxEntry> entries() const;

    // False, changing nothing, when the entry does not belong at position in key order.
    bool insert(BlockSink& sink, std::size_t position, std::string_view key, std::uint32_t recno);
    void erase(BlockSink& sink, std::size_t position);

private:
    struct Leaf {
        std::uint32_t page = 0;
        std::uint32_t count = 0;
        std::string block;
    };
    struct Page {
        std::uint32_t page = 0;
        std::string block;  // as last written or read
    };

    // The leaf holding position and the position inside it; position = size gives the
    // end of the last leaf.
    std::pair<std::size_t, std::size_t> locate(std::size_t position) const;
    // After leaves came or went: the leaf counts are summed anew when next needed.
    void leavesChanged() { countsStale_ = true; }
    std::pair<std::string_view, std::uint32_t> item(const Leaf& leaf, std::size_t index) const;
    bool fits(std::size_t leafIndex, std::size_t offset, std::string_view key, std::uint32_t recno) const;
    std::string newNode() const;
    std::string_view items(const Leaf& leaf) const;
    void setItems(Leaf& leaf, std::string_view items) const;
    std::string_view lastKey(const Leaf& leaf) const;
    void splitLeaf(BlockSink& sink, std::size_t leafIndex, std::string items, bool appending);
    void relinkLeaf(BlockSink& sink, std::size_t leafIndex);
    void rebuildInterior(BlockSink& sink);
    void updateHeader(BlockSink& sink, std::uint32_t root, std::uint32_t pages);

    MdxTagInfo info_;
    TagGeometry geometry_;
    std::uint32_t headerPage_;
    std::string headerBlock_;
    std::vector<Leaf> leaves_;
    std::vector<Page> interior_;
    std::size_t size_ = 0;
    // Where each position lies, in O(log leaves) (see RunCounts).
    mutable RunCounts counts_;
    mutable bool countsStale_ = true;
    // A tree read from disk may have another shape; the first change rebuilds it ours.
    bool interiorIsOurs_ = false;
};

}  // namespace quendra::storage::mdx
