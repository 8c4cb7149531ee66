#include "storage/query/tag_span.h"

#include <algorithm>

namespace quendra::storage {

namespace {

// First position in [0, size) for which beyond(key) holds; beyond must be monotone.
template <class Beyond>
std::size_t partitionPoint(const TagIndex& tag, Beyond beyond) {
    std::size_t lo = 0;
    std::size_t hi = tag.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (beyond(tag.sortKeyAt(mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

}  // namespace

std::size_t TagSpan::size() const {
    std::size_t n = 0;
    for (const auto& [first, last] : ranges) n += last - first;
    return n;
}

std::optional<std::size_t> tagOnField(const OpenTable& table, std::size_t field) {
    if (!table.indexUsable()) return std::nullopt;
    for (std::size_t i = 0; i < table.tagCount(); ++i) {
        if (table.tagAt(i).fieldIndex() == field) return i;
    }
    return std::nullopt;
}

std::optional<TagSpan> spanOnTag(const OpenTable& table, const KeyInterval& interval) {
    const auto tagIndex = tagOnField(table, interval.field);
    if (!tagIndex) return std::nullopt;
    const TagIndex& tag = table.tagAt(*tagIndex);
    std::size_t first = 0;
    std::size_t last = tag.size();
    if (interval.low) {
        const std::string_view low = *interval.low;
        first = partitionPoint(tag, [low](std::string_view key) { return key.substr(0, low.size()) >= low; });
    }
    if (interval.high) {
        const std::string_view high = *interval.high;
        last = partitionPoint(tag, [high](std::string_view key) { return key.substr(0, high.size()) > high; });
    }
    TagSpan span{*tagIndex, {}};
    if (first < last) span.ranges.emplace_back(first, last);
    return span;
}

TagSpan unite(const TagSpan& a, const TagSpan& b) {
    std::vector<std::pair<std::size_t, std::size_t>> all = a.ranges;
    all.insert(all.end(), b.ranges.begin(), b.ranges.end());
    std::sort(all.begin(), all.end());
    TagSpan out{a.tag, {}};
    for (const auto& r : all) {
        if (!out.ranges.empty() && r.first <= out.ranges.back().second)
            out.ranges.back().second = std::max(out.ranges.back().second, r.second);
        else
            out.ranges.push_back(r);
    }
    return out;
}

TagSpan intersect(const TagSpan& a, const TagSpan& b) {
    TagSpan out{a.tag, {}};
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.ranges.size() && j < b.ranges.size()) {
        const std::size_t first = std::max(a.ranges[i].first, b.ranges[j].first);
        const std::size_t last = std::min(a.ranges[i].second, b.ranges[j].second);
        if (first < last) out.ranges.emplace_back(first, last);
        if (a.ranges[i].second < b.ranges[j].second)
            ++i;
        else
            ++j;
    }
    return out;
}

}  // namespace quendra::storage
