// Counts over the positions 0 to n - 1 with sums of every leading range, each
// in O(log n): a Fenwick tree. The orders use it to count the items of higher
// levels before a position of the input, the turns that reach a run, and the
// free places when insertions are replayed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FenwickTree {
  public:
    explicit FenwickTree(std::size_t n = 0) : sums_(n + 1, 0) {}

    std::size_t size() const { return sums_.size() - 1; }

    void add(std::size_t position, int64_t amount) {
        for (std::size_t t = position + 1; t < sums_.size(); t += t & (~t + 1)) {
            sums_[t] += amount;
        }
    }

    // The sum over positions 0 to end - 1.
    int64_t sum_before(std::size_t end) const {
        int64_t sum = 0;
        for (std::size_t t = end; t > 0; t &= t - 1) {
            sum += sums_[t];
        }
        return sum;
    }

    // With counts of 0 and 1 only: the position of the (k + 1)-th 1.
    std::size_t position_of(int64_t k) const {
        std::size_t at = 0;
        std::size_t step = 1;
        while (step * 2 < sums_.size()) {
            step *= 2;
        }
        for (; step > 0; step /= 2) {
            if (at + step < sums_.size() && sums_[at + step] <= k) {
                at += step;
                k -= sums_[at];
            }
        }
        return at;
    }

  private:
    std::vector<int64_t> sums_;  // sums_[t]: the counts of the t & -t positions ending at t - 1
};
