#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace quendra::storage {

// The sizes of a sequence of runs (the chunks of a tag in memory, the leaves of a tag on
// disk) as a Fenwick tree: which run holds the n-th item and how many items come before
// a run, both in O(log runs), and one run's size changed in O(log runs).
class RunCounts {
public:
    template <class Runs, class SizeOf>
    void assign(const Runs& runs, SizeOf sizeOf) {
        tree_.assign(runs.size() + 1, 0);
        for (std::size_t i = 1; i <= runs.size(); ++i) {
            tree_[i] += sizeOf(runs[i - 1]);
            if (const std::size_t parent = i + (i & (~i + 1)); parent < tree_.size()) tree_[parent] += tree_[i];
        }
        top_ = 1;
        while (top_ * 2 <= runs.size()) top_ *= 2;
    }

    void add(std::size_t run, std::ptrdiff_t delta) {
        for (std::size_t i = run + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += std::size_t(delta);
    }

    // Items in the runs before run.
    std::size_t before(std::size_t run) const {
        std::size_t sum = 0;
        for (std::size_t i = run; i > 0; i -= i & (~i + 1)) sum += tree_[i];
        return sum;
    }

    // The run holding item position and the position inside it; empty runs are passed
    // over. A position at or past the end gives {number of runs, what is left}.
    std::pair<std::size_t, std::size_t> locate(std::size_t position) const {
        std::size_t run = 0;
        for (std::size_t step = tree_.size() > 1 ? top_ : 0; step > 0; step /= 2) {
            if (run + step < tree_.size() && tree_[run + step] <= position) {
                run += step;
                position -= tree_[run];
            }
        }
        return {run, position};
    }

private:
    std::vector<std::size_t> tree_;  // 1-based
    std::size_t top_ = 0;            // the largest power of two not above the runs
};

}  // namespace quendra::storage
