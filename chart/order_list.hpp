// A list that only grows by insertions and tells in O(1) which of two nodes
// comes first: every node carries a label that rises along the list. Where an
// insertion finds no free label between its neighbours, the smallest aligned
// range of labels around it that is sparse enough is labelled afresh, evenly
// (list labelling with a density threshold of 1.5^-i for a range of 2^i
// labels), which costs O(log n) per insertion on average.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class OrderList {
  public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    explicit OrderList(std::size_t capacity = 0) {
        labels_.reserve(capacity);
        next_.reserve(capacity);
        previous_.reserve(capacity);
    }

    std::size_t size() const { return labels_.size(); }
    std::size_t first() const { return first_; }
    std::size_t last() const { return last_; }
    std::size_t next(std::size_t node) const { return next_[node]; }
    std::size_t previous(std::size_t node) const { return previous_[node]; }
    bool before(std::size_t a, std::size_t b) const { return labels_[a] < labels_[b]; }

    // A new node just before `next` (kNone: at the end); returns it.
    std::size_t insert_before(std::size_t next) {
        const std::size_t previous = next == kNone ? last_ : previous_[next];
        const uint64_t low = previous == kNone ? 0 : labels_[previous];
        const uint64_t high = next == kNone ? kLabels : labels_[next];
        const std::size_t node = labels_.size();
        labels_.push_back(low + (high - low < 2 * kAppendGap ? (high - low) / 2 : kAppendGap));
        next_.push_back(next);
        previous_.push_back(previous);
        (previous == kNone ? first_ : next_[previous]) = node;
        (next == kNone ? last_ : previous_[next]) = node;
        if (high - low < 2) {
            labels_[node] = low;
            relabel_around(node);
        }
        return node;
    }

  private:
    static constexpr uint64_t kLabels = uint64_t{1} << 62;
    static constexpr uint64_t kAppendGap = uint64_t{1} << 32;

    std::vector<uint64_t> labels_;  // rising along the list, all below kLabels
    std::vector<std::size_t> next_;
    std::vector<std::size_t> previous_;
    std::size_t first_ = kNone;
    std::size_t last_ = kNone;

    // Labels the smallest aligned range around node whose nodes are few
    // enough (at most (4/3)^i of them in 2^i labels; the whole range takes any
    // number) evenly. The node's own
    // label equals its predecessor's, so the labels still rise weakly and the
    // nodes of any range stand together.
    void relabel_around(std::size_t node) {
        std::size_t from = node;
        std::size_t to = node;
        std::size_t count = 1;
        double allowed = 1.0;
        for (int bits = 1; bits <= 62; ++bits) {
            allowed *= 4.0 / 3.0;
            const uint64_t base = labels_[node] >> bits << bits;
            const uint64_t end = base + (uint64_t{1} << bits);
            while (previous_[from] != kNone && labels_[previous_[from]] >= base) {
                from = previous_[from];
                ++count;
            }
            while (next_[to] != kNone && labels_[next_[to]] < end) {
                to = next_[to];
                ++count;
            }
            const uint64_t spacing = (end - base) / (count + 1);
            if ((static_cast<double>(count) <= allowed || bits == 62) && spacing >= 2) {
                uint64_t label = base;
                for (std::size_t at = from;; at = next_[at]) {
                    label += spacing;
                    labels_[at] = label;
                    if (at == to) {
                        return;
                    }
                }
            }
        }
    }
};
