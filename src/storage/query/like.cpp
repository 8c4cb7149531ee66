#include "storage/query/like.h"

#include <cstring>

namespace quendra::storage {

namespace {

std::string_view withoutTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

LikePattern::LikePattern(const std::vector<Part>& parts) {
    segments_.emplace_back();
    for (const Part& part : parts) {
        for (const char c : part.bytes) {
            if (part.wildcards && c == '%') {
                segments_.emplace_back();
                continue;
            }
            Segment& s = segments_.back();
            const bool any = part.wildcards && c == '_';
            s.bytes += c;
            s.mask += any ? '_' : ' ';
            s.exact = s.exact && !any;
        }
    }
    Segment& last = segments_.back();
    while (!last.bytes.empty() && last.bytes.back() == ' ' && last.mask.back() == ' ') {
        last.bytes.pop_back();
        last.mask.pop_back();
    }
}

bool LikePattern::Segment::fitsAt(std::string_view value, std::size_t pos) const {
    if (exact) return std::memcmp(value.data() + pos, bytes.data(), bytes.size()) == 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (mask[i] == ' ' && value[pos + i] != bytes[i]) return false;
    return true;
}

std::size_t LikePattern::Segment::findIn(std::string_view value, std::size_t from, std::size_t end) const {
    if (end < from || end - from < bytes.size()) return std::string_view::npos;
    if (exact) return value.substr(0, end).find(bytes, from);
    for (std::size_t pos = from; pos + bytes.size() <= end; ++pos)
        if (fitsAt(value, pos)) return pos;
    return std::string_view::npos;
}

bool LikePattern::matches(std::string_view value) const {
    value = withoutTrailingBlanks(value);
    const Segment& first = segments_.front();
    if (segments_.size() == 1) return value.size() == first.bytes.size() && first.fitsAt(value, 0);
    const Segment& last = segments_.back();
    if (value.size() < first.bytes.size() + last.bytes.size()) return false;
    const std::size_t end = value.size() - last.bytes.size();
    if (!first.fitsAt(value, 0) || !last.fitsAt(value, end)) return false;
    // Runs between two % have a fixed length, so taking each at its leftmost place
    // leaves the most room for the ones after it.
    std::size_t pos = first.bytes.size();
    for (std::size_t i = 1; i + 1 < segments_.size(); ++i) {
        const std::size_t at = segments_[i].findIn(value, pos, end);
        if (at == std::string_view::npos) return false;
        pos = at + segments_[i].bytes.size();
    }
    return true;
}

std::string LikePattern::literalPrefix() const {
    const Segment& first = segments_.front();
    const std::size_t any = first.mask.find('_');
    return first.bytes.substr(0, any == std::string::npos ? first.bytes.size() : any);
}

}  // namespace quendra::storage
