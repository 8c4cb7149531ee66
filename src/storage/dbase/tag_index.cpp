#include "storage/dbase/tag_index.h"

#include <algorithm>
#include <iterator>

namespace quendra::storage {

namespace {

// Large enough that a scan stays in cache, small enough that an insert moves little.
constexpr std::size_t kChunkLimit = 512;

}  // namespace

bool entryLess(std::string_view keyA, std::uint32_t recA, std::string_view keyB, std::uint32_t recB) {
    const int c = keyA.compare(keyB);
    return c < 0 || (c == 0 && recA < recB);
}

TagIndex::TagIndex(MdxTagInfo info, std::size_t field, std::vector<Entry> ordered)
    : info_(std::move(info)), field_(field), size_(ordered.size()) {
    // Half-full chunks leave room for inserts before the first split.
    for (std::size_t from = 0; from < ordered.size(); from += kChunkLimit / 2) {
        const auto first = ordered.begin() + std::ptrdiff_t(from);
        const auto last = ordered.begin() + std::ptrdiff_t(std::min(ordered.size(), from + kChunkLimit / 2));
        chunks_.emplace_back(std::make_move_iterator(first), std::make_move_iterator(last));
    }
    recount();
}

void TagIndex::recount() {
    hintStart_ = SIZE_MAX;
    counts_.assign(chunks_, [](const std::vector<Entry>& chunk) { return chunk.size(); });
}

const TagIndex::Entry& TagIndex::at(std::size_t pos) const {
    if (hintStart_ != SIZE_MAX && pos >= hintStart_) {
        std::size_t offset = pos - hintStart_;
        if (offset < chunks_[hintChunk_].size()) return chunks_[hintChunk_][offset];
        offset -= chunks_[hintChunk_].size();
        if (hintChunk_ + 1 < chunks_.size() && offset < chunks_[hintChunk_ + 1].size()) {
            hintStart_ += chunks_[hintChunk_].size();
            ++hintChunk_;
            return chunks_[hintChunk_][offset];
        }
    }
    const auto [chunk, offset] = counts_.locate(pos);
    hintChunk_ = chunk;
    hintStart_ = pos - offset;
    return chunks_[chunk][offset];
}

template <class Beyond>
std::size_t TagIndex::firstBeyond(Beyond beyond) const {
    const auto chunk = std::partition_point(chunks_.begin(), chunks_.end(),
                                            [&](const std::vector<Entry>& c) { return !beyond(c.back()); });
    if (chunk == chunks_.end()) return size_;
    const auto inside = std::partition_point(chunk->begin(), chunk->end(), [&](const Entry& e) { return !beyond(e); });
    const auto index = std::size_t(chunk - chunks_.begin());
    return counts_.before(index) + std::size_t(inside - chunk->begin());
}

std::size_t TagIndex::lowerBound(std::string_view sortKey, std::uint32_t recno) const {
    return firstBeyond([&](const Entry& e) { return !entryLess(e.key, e.recno, sortKey, recno); });
}

std::size_t TagIndex::upperBound(std::string_view sortKey, std::uint32_t recno) const {
    return firstBeyond([&](const Entry& e) { return entryLess(sortKey, recno, e.key, e.recno); });
}

void TagIndex::insertAt(std::size_t pos, Entry entry) {
    ++size_;
    hintStart_ = SIZE_MAX;
    if (chunks_.empty()) {
        chunks_.push_back({std::move(entry)});
        recount();
        return;
    }
    auto [chunk, offset] = counts_.locate(pos);
    if (chunk == chunks_.size()) {  // the end: after the last entry of the last chunk
        chunk = chunks_.size() - 1;
        offset = chunks_[chunk].size();
    }
    std::vector<Entry>& entries = chunks_[chunk];
    entries.insert(entries.begin() + std::ptrdiff_t(offset), std::move(entry));
    if (entries.size() <= kChunkLimit) {
        counts_.add(chunk, 1);
        return;
    }
    std::vector<Entry> upper(std::make_move_iterator(entries.begin() + std::ptrdiff_t(kChunkLimit / 2)),
                             std::make_move_iterator(entries.end()));
    entries.resize(kChunkLimit / 2);
    chunks_.insert(chunks_.begin() + std::ptrdiff_t(chunk + 1), std::move(upper));
    recount();
}

void TagIndex::eraseAt(std::size_t pos) {
    const auto [chunk, offset] = counts_.locate(pos);
    std::vector<Entry>& entries = chunks_[chunk];
    entries.erase(entries.begin() + std::ptrdiff_t(offset));
    --size_;
    hintStart_ = SIZE_MAX;
    if (!entries.empty()) {
        counts_.add(chunk, -1);
        return;
    }
    chunks_.erase(chunks_.begin() + std::ptrdiff_t(chunk));
    recount();
}

}  // namespace quendra::storage
