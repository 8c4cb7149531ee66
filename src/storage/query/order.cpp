#include "storage/query/order.h"

#include "storage/dbase/field_codec.h"
#include "storage/query/tag_span.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace quendra::storage {

namespace {

// Walking a whole tag and keeping the wanted rows beats sorting them once they are more
// than this fraction of the table.
constexpr std::size_t kWalkTagBelowRowsTimes = 16;

std::size_t keyWidth(const FieldDef& def) {
    return def.type == FieldType::Character || def.type == FieldType::Logical ? def.length : 8;
}

// Fixed-width keys whose byte order is the wanted order: the fields' sort keys (the
// same bytes the tags hold) and the record number, so no two keys are equal.
class SortKeys {
public:
    SortKeys(const OpenTable& table, const std::vector<std::uint32_t>& rows, const std::vector<std::size_t>& fields) {
        for (const std::size_t f : fields) width_ += keyWidth(table.fields()[f]);
        firstWidth_ = keyWidth(table.fields()[fields.front()]);
        width_ += 4;
        bytes_.resize(rows.size() * width_);
        char* out = bytes_.data();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::uint32_t recno = rows[i];
            if (i + kRowsAhead < rows.size()) table.prefetchRecord(rows[i + kRowsAhead]);
            out = readInRow(table.path(), recno, [&] {
                for (const std::size_t f : fields) out = append(out, table, recno, f);
                return out;
            });
            for (int shift = 24; shift >= 0; shift -= 8) *out++ = char((recno >> shift) & 0xFF);
        }
    }

    bool less(std::size_t a, std::size_t b) const { return std::memcmp(key(a), key(b), width_) < 0; }
    bool sameFirst(std::size_t a, std::size_t b) const { return std::memcmp(key(a), key(b), firstWidth_) == 0; }

private:
    static char* append(char* out, const OpenTable& table, std::uint32_t recno, std::size_t field) {
        const FieldDef& def = table.fields()[field];
        if (def.type == FieldType::Character || def.type == FieldType::Logical) {
            const std::string_view raw = table.rawField(recno, field);
            return std::copy(raw.begin(), raw.end(), out);
        }
        // A date's key is its day number's, as in the tags.
        const std::string key = numericSortKey(table.numberOf(recno, field));
        return std::copy(key.begin(), key.end(), out);
    }

    const char* key(std::size_t i) const { return bytes_.data() + i * width_; }

    std::size_t width_ = 0;
    std::size_t firstWidth_ = 0;
    std::vector<char> bytes_;
};

std::vector<std::uint32_t> walkTag(const OpenTable& table, std::size_t tag, const std::vector<std::uint32_t>& rows) {
    std::vector<bool> wanted(std::size_t(table.physicalCount()) + 1, false);
    for (const std::uint32_t recno : rows) wanted[recno] = true;
    std::vector<std::uint32_t> ordered;
    ordered.reserve(rows.size());
    const TagIndex& index = table.tagAt(tag);
    for (std::size_t pos = 0; pos < index.size(); ++pos)
        if (wanted[index.recnoAt(pos)]) ordered.push_back(index.recnoAt(pos));
    return ordered;
}

}  // namespace

std::vector<std::uint32_t> orderRows(const OpenTable& table, std::vector<std::uint32_t> rows,
                                     std::optional<std::size_t> rowsTag, const std::vector<std::size_t>& fields) {
    if (fields.empty()) {
        if (rowsTag) std::sort(rows.begin(), rows.end());
        return rows;
    }
    const std::optional<std::size_t> firstTag = tagOnField(table, fields.front());
    bool firstInOrder = firstTag && rowsTag == firstTag;
    if (!firstInOrder && firstTag && rows.size() * kWalkTagBelowRowsTimes >= table.tagAt(*firstTag).size()) {
        rows = walkTag(table, *firstTag, rows);
        firstInOrder = true;
    }
    if (firstInOrder && fields.size() == 1) return rows;

    const SortKeys keys(table, rows, fields);
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    const auto less = [&keys](std::size_t a, std::size_t b) { return keys.less(a, b); };
    if (firstInOrder) {
        // Sorted on the first field already: only the runs of equal first keys need sorting.
        for (std::size_t begin = 0; begin < order.size();) {
            std::size_t end = begin + 1;
            while (end < order.size() && keys.sameFirst(begin, end)) ++end;
            std::sort(order.begin() + std::ptrdiff_t(begin), order.begin() + std::ptrdiff_t(end), less);
            begin = end;
        }
    } else {
        std::sort(order.begin(), order.end(), less);
    }
    std::vector<std::uint32_t> sorted(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = rows[order[i]];
    return sorted;
}

}  // namespace quendra::storage
