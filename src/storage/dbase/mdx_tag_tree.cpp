#include "storage/dbase/mdx_tag_tree.h"

#include "storage/dbase/mdx_key.h"

#include <algorithm>
#include <cstring>

namespace quendra::storage::mdx {

namespace {

// How many children each node of the next level up takes: full nodes from the left,
// and never a last node with a single child (a node without keys puzzles some readers).
std::vector<std::size_t> groupSizes(std::size_t children, std::size_t fan) {
    const std::size_t nodes = (children + fan - 1) / fan;
    std::vector<std::size_t> sizes(nodes, fan);
    sizes.back() = children - fan * (nodes - 1);
    if (nodes > 1 && sizes.back() == 1) {
        --sizes[nodes - 2];
        sizes.back() = 2;
    }
    return sizes;
}

}  // namespace

TagTree::TagTree(MdxTagInfo info, TagGeometry geometry, std::uint32_t headerPage, std::string headerBlock)
    : info_(std::move(info)), geometry_(geometry), headerPage_(headerPage), headerBlock_(std::move(headerBlock)) {}

void TagTree::addLeaf(std::uint32_t page, std::string block) {
    const std::uint32_t count = getU32(block, kNodeCount);
    size_ += count;
    leaves_.push_back({page, count, std::move(block)});
    leavesChanged();
}

void TagTree::addReusablePage(std::uint32_t page, std::string block) {
    interior_.push_back({page, std::move(block)});
}

std::string TagTree::newNode() const { return std::string(geometry_.blockBytes, '\0'); }

std::string_view TagTree::items(const Leaf& leaf) const {
    return std::string_view(leaf.block).substr(kNodeItems, std::size_t(leaf.count) * geometry_.itemLength);
}

void TagTree::setItems(Leaf& leaf, std::string_view items) const {
    leaf.count = std::uint32_t(items.size() / geometry_.itemLength);
    putU32(leaf.block, kNodeCount, leaf.count);
    std::memcpy(leaf.block.data() + kNodeItems, items.data(), items.size());
    // Zeros after the last item mark the leaf, and leave no stale keys behind.
    std::fill(leaf.block.begin() + std::ptrdiff_t(kNodeItems + items.size()), leaf.block.end(), '\0');
}

std::string_view TagTree::lastKey(const Leaf& leaf) const {
    if (leaf.count == 0) return {};
    const std::size_t at = kNodeItems + std::size_t(leaf.count - 1) * geometry_.itemLength + 4;
    return std::string_view(leaf.block).substr(at, geometry_.keyLength);
}

void TagTree::fill(BlockSink& sink, const std::vector<MdxEntry>& entries) {
    const std::size_t perLeaf = std::max<std::size_t>(1, geometry_.capacity * 9 / 10);
    std::size_t next = 0;
    do {
        const std::size_t count = std::min(perLeaf, entries.size() - next);
        std::string items(count * geometry_.itemLength, '\0');
        for (std::size_t i = 0; i < count; ++i) {
            const MdxEntry& e = entries[next + i];
            putU32(items, i * geometry_.itemLength, e.recno);
            std::memcpy(items.data() + i * geometry_.itemLength + 4, e.key.data(), geometry_.keyLength);
        }
        Leaf leaf{sink.allocate(), 0, newNode()};
        putU32(leaf.block, kNodePrev, leaves_.empty() ? 0 : leaves_.back().page);
        setItems(leaf, items);
        sink.write(leaf.page, leaf.block);
        leaves_.push_back(std::move(leaf));
        next += count;
    } while (next < entries.size());
    size_ = entries.size();
    leavesChanged();
    rebuildInterior(sink);
}

std::vector<MdxEntry> TagTree::entries() const {
    std::vector<MdxEntry> out;
    out.reserve(size_);
    for (const Leaf& leaf : leaves_) {
        const std::string_view all = items(leaf);
        for (std::size_t at = 0; at < all.size(); at += geometry_.itemLength) {
            out.push_back({std::string(all.substr(at + 4, geometry_.keyLength)), getU32(all, at)});
        }
    }
    return out;
}

std::pair<std::size_t, std::size_t> TagTree::locate(std::size_t position) const {
    if (countsStale_) {
        counts_.assign(leaves_, [](const Leaf& leaf) { return std::size_t(leaf.count); });
        countsStale_ = false;
    }
    // A position between two leaves is the start of the second one.
    const auto [leaf, offset] = counts_.locate(position);
    if (leaf < leaves_.size()) return {leaf, offset};
    return {leaves_.size() - 1, leaves_.back().count};
}

std::pair<std::string_view, std::uint32_t> TagTree::item(const Leaf& leaf, std::size_t index) const {
    const std::string_view item = items(leaf).substr(index * geometry_.itemLength, geometry_.itemLength);
    return {item.substr(4, geometry_.keyLength), getU32(item, 0)};
}

bool TagTree::fits(std::size_t index, std::size_t offset, std::string_view key, std::uint32_t recno) const {
    const auto before = [&](std::pair<std::string_view, std::uint32_t> a, std::pair<std::string_view, std::uint32_t> b) {
        const int c = compareKeys(info_.keyType, a.first, b.first);
        return c < 0 || (c == 0 && a.second < b.second);
    };
    const Leaf& leaf = leaves_[index];
    if (offset > 0 && !before(item(leaf, offset - 1), {key, recno})) return false;
    if (offset == 0 && index > 0 && !before(item(leaves_[index - 1], leaves_[index - 1].count - 1), {key, recno})) {
        return false;
    }
    return offset == leaf.count || before({key, recno}, item(leaf, offset));
}

bool TagTree::insert(BlockSink& sink, std::size_t position, std::string_view key, std::uint32_t recno) {
    const auto [index, offset] = locate(position);
    if (!fits(index, offset, key, recno)) return false;
    Leaf& leaf = leaves_[index];
    std::string item(geometry_.itemLength, '\0');
    putU32(item, 0, recno);
    std::memcpy(item.data() + 4, key.data(), geometry_.keyLength);
    std::string all(items(leaf));
    all.insert(offset * geometry_.itemLength, item);
    ++size_;
    if (leaf.count >= geometry_.capacity) {
        splitLeaf(sink, index, std::move(all), offset == leaf.count);
        return true;
    }
    setItems(leaf, all);
    if (!countsStale_) counts_.add(index, 1);
    sink.write(leaf.page, leaf.block);
    // A new key goes before the greatest of its leaf, or at the end of the last leaf,
    // whose greatest key is no separator anywhere: the interior levels stay as they are.
    if (!interiorIsOurs_) rebuildInterior(sink);
    return true;
}

void TagTree::splitLeaf(BlockSink& sink, std::size_t index, std::string all, bool appending) {
    const std::size_t total = all.size() / geometry_.itemLength;
    // Appending at the end leaves the old leaf nearly full: year files mostly grow there.
    std::size_t keep = appending ? geometry_.capacity * 9 / 10 : total / 2;
    keep = std::clamp<std::size_t>(keep, 1, total - 1);
    const std::string_view view(all);
    Leaf right{sink.allocate(), 0, newNode()};
    putU32(right.block, kNodePrev, leaves_[index].page);
    setItems(right, view.substr(keep * geometry_.itemLength));
    setItems(leaves_[index], view.substr(0, keep * geometry_.itemLength));
    sink.write(right.page, right.block);
    sink.write(leaves_[index].page, leaves_[index].block);
    leaves_.insert(leaves_.begin() + std::ptrdiff_t(index + 1), std::move(right));
    leavesChanged();
    relinkLeaf(sink, index + 2);
    rebuildInterior(sink);
}

void TagTree::erase(BlockSink& sink, std::size_t position) {
    const auto [index, offset] = locate(position);
    Leaf& leaf = leaves_[index];
    --size_;
    if (leaf.count == 1 && leaves_.size() > 1) {
        sink.release(leaf.page);
        leaves_.erase(leaves_.begin() + std::ptrdiff_t(index));
        leavesChanged();
        relinkLeaf(sink, index);
        rebuildInterior(sink);
        return;
    }
    std::string all(items(leaf));
    all.erase(offset * geometry_.itemLength, geometry_.itemLength);
    const bool lostLastKey = offset + 1 == leaf.count;
    setItems(leaf, all);
    if (!countsStale_) counts_.add(index, -1);
    sink.write(leaf.page, leaf.block);
    if (!interiorIsOurs_ || (lostLastKey && index + 1 < leaves_.size())) rebuildInterior(sink);
}

void TagTree::relinkLeaf(BlockSink& sink, std::size_t index) {
    if (index >= leaves_.size()) return;
    Leaf& leaf = leaves_[index];
    const std::uint32_t prev = index == 0 ? 0 : leaves_[index - 1].page;
    if (getU32(leaf.block, kNodePrev) == prev) return;
    putU32(leaf.block, kNodePrev, prev);
    sink.write(leaf.page, leaf.block);
}

void TagTree::rebuildInterior(BlockSink& sink) {
    if (!interiorIsOurs_) {
        for (std::size_t i = 0; i < leaves_.size(); ++i) relinkLeaf(sink, i);
    }
    const std::size_t fan = std::size_t(geometry_.capacity) + 1;
    std::vector<std::size_t> sizes{leaves_.size()};  // nodes per level, leaves first
    while (sizes.back() > 1) sizes.push_back((sizes.back() + fan - 1) / fan);
    const std::size_t levels = sizes.size();

    // Interior pages are handed out from the root down, each level left to right, so a
    // level that grows at its right end leaves the pages of the others where they are.
    std::vector<std::size_t> firstOf(levels, 0);
    std::size_t interiorCount = 0;
    for (std::size_t l = levels - 1; l >= 1; --l) {
        firstOf[l] = interiorCount;
        interiorCount += sizes[l];
    }
    while (interior_.size() < interiorCount) interior_.push_back({sink.allocate(), {}});
    while (interior_.size() > interiorCount) {
        sink.release(interior_.back().page);
        interior_.pop_back();
    }
    const auto pageOf = [&](std::size_t level, std::size_t i) {
        return level == 0 ? leaves_[i].page : interior_[firstOf[level] + i].page;
    };

    std::vector<std::string_view> lastKeys;
    lastKeys.reserve(leaves_.size());
    for (const Leaf& leaf : leaves_) lastKeys.push_back(lastKey(leaf));
    std::string node;
    for (std::size_t level = 1; level < levels; ++level) {
        std::vector<std::string_view> upper;
        upper.reserve(sizes[level]);
        std::size_t child = 0;
        const std::vector<std::size_t> groups = groupSizes(sizes[level - 1], fan);
        for (std::size_t i = 0; i < groups.size(); ++i) {
            const std::size_t n = groups[i];
            node.assign(geometry_.blockBytes, '\0');
            putU32(node, kNodeCount, std::uint32_t(n - 1));
            putU32(node, kNodePrev, i == 0 ? 0 : pageOf(level, i - 1));
            for (std::size_t j = 0; j < n; ++j) {
                const std::size_t at = kNodeItems + j * geometry_.itemLength;
                putU32(node, at, pageOf(level - 1, child + j));
                if (j + 1 < n) std::memcpy(node.data() + at + 4, lastKeys[child + j].data(), geometry_.keyLength);
            }
            upper.push_back(lastKeys[child + n - 1]);
            child += n;
            Page& page = interior_[firstOf[level] + i];
            if (page.block != node) {
                sink.write(page.page, node);
                page.block = node;
            }
        }
        lastKeys = std::move(upper);
    }
    const std::uint32_t root = levels == 1 ? leaves_.front().page : interior_.front().page;
    const std::uint32_t pages = std::uint32_t((1 + leaves_.size() + interiorCount) * (geometry_.blockBytes / kPageBytes));
    updateHeader(sink, root, pages);
    interiorIsOurs_ = true;
}

void TagTree::updateHeader(BlockSink& sink, std::uint32_t root, std::uint32_t pages) {
    if (getU32(headerBlock_, kRootPage) == root && getU32(headerBlock_, kTagPages) == pages) return;
    putU32(headerBlock_, kRootPage, root);
    putU32(headerBlock_, kTagPages, pages);
    sink.write(headerPage_, headerBlock_);
}

}  // namespace quendra::storage::mdx
