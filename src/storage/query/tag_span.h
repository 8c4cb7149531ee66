#pragma once

#include "storage/dbase/open_table.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quendra::storage {

// A set of sort keys of one field: a key k is inside when its first |low| bytes are not
// below low and its first |high| bytes not above high. A prefix p is {p, p}; a full
// key k gives {k, k} for "equal", {k, none} for "from k on".
struct KeyInterval {
    std::size_t field = 0;
    std::optional<std::string> low;
    std::optional<std::string> high;
};

// Positions [first, second) of one tag, sorted and apart.
struct TagSpan {
    std::size_t tag = 0;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;

    std::size_t size() const;
};

// The tag on a plain field, when the table's index is usable.
std::optional<std::size_t> tagOnField(const OpenTable& table, std::size_t field);

// The positions of the field's tag whose keys lie in the interval; nullopt without a tag.
std::optional<TagSpan> spanOnTag(const OpenTable& table, const KeyInterval& interval);

// Both spans must be on the same tag.
TagSpan unite(const TagSpan& a, const TagSpan& b);
TagSpan intersect(const TagSpan& a, const TagSpan& b);

}  // namespace quendra::storage
