#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

// A like pattern over the bytes of a single-byte code page: % stands for any run of
// characters, _ for exactly one. Trailing blanks of the value, and of a pattern that
// does not end with %, are ignored, as character comparisons ignore them.
class LikePattern {
public:
    struct Part {
        std::string bytes;
        bool wildcards = true;  // false: % and _ are plain characters (a parameter's value)
    };

    explicit LikePattern(const std::vector<Part>& parts);

    bool matches(std::string_view value) const;
    // The bytes every match starts with (empty when the pattern starts with a wildcard).
    std::string literalPrefix() const;

private:
    // A run between two %: its bytes, and '_' in mask where any byte fits.
    struct Segment {
        std::string bytes;
        std::string mask;
        bool exact = true;  // no _ in the run
        bool fitsAt(std::string_view value, std::size_t pos) const;
        std::size_t findIn(std::string_view value, std::size_t from, std::size_t end) const;
    };

    std::vector<Segment> segments_;  // one more than the number of %
};

}  // namespace quendra::storage
