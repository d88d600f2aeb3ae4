// The exchange sort of the hole and position orders,
//
//     for i: t = slot i; for j after i: if exchange(t, slot j): swap t, slot j
//            slot i = t
//
// computed from the structure of its comparison instead of pass by pass. The
// comparisons use tolerances and are not transitive, and on scattered input
// the loop makes about n^2 / 4 exchanges in short runs, so no index that
// skips slots can do much better than the loop itself. What makes it cheap
// is that the comparison is a ranking of levels with tolerances only inside
// a level, and that the loop treats levels in a way that can be worked out
// exactly:
//
// Levels. Sort the items by one value (y for holes) and cut between two
// neighbouring distinct values wherever the tolerance test already decides
// them: then every item of a higher level is exchanged forward past every
// item of a lower one and never the other way. Within a level whose items
// all share the value, the same is done with the next value, and so on; a
// level whose items hold more than one value of that kind, or that is the
// last kind, is a leaf. The traits give the values and the cuts, checked in
// the same floating-point operations as the decision (they are monotone, so
// a cut between neighbours separates all items on either side).
//
// Top sets. Let U be the items of the leaves from the top down to some leaf.
// The items below U never take a traveller of U, and any item of U takes a
// traveller from below, so restricted to U the loop runs exactly as it would
// on U's items alone, and its first |U| passes place U. Hence each leaf L
// fills the slots after the leaves above it (H), in the order the loop gives
// when started on L's items as they stand once H is placed.
//
// The arrangement of L at that point follows from where H's items stand
// between L's in the input: a pass that starts on an item of H leaves L
// alone; a pass that starts on an item of L (all of L's items that precede
// the first remaining item of H, the front) runs the traveller over the
// front with the exchanges of the loop and leaves it at the end of the front,
// where that item of H was. After the k-th item of L, each item of H before
// the (k + 1)-th makes one such pass over the front of k items. A leaf whose
// items never exchange (one item, or items equal in every value) just
// rotates its front by one per pass.
//
// The work is the passes over fronts of tolerance leaves and the loop on
// them; scattered drawings have few and small ones. When it would pass the
// loop's own n (n - 1) / 2 comparisons (one large tolerance leaf, such as a
// chain of rows each within tolerance of the next), order_by_levels returns
// false and the caller runs the loop itself.
//
// Traits provide
//   Item
//   bool exchange(const Item& occupant, const Item& later)
//   int kValues                      number of values, in order of rank
//   double value(const Item&, int kind)
//   bool descending(int kind)        whether higher values come first
//   bool separates(int kind, double earlier, double later)
//       for two distinct values in level order: whether every item with
//       value `earlier` or before is exchanged forward past every item with
//       `later` or after and never the other way, once all values of the
//       kinds before agree
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

template <typename Traits>
class LevelOrder {
  public:
    using Item = typename Traits::Item;

    // Slot i of the loop's result receives items[order[i]]. Returns false,
    // leaving order alone, when working out the levels would cost more
    // than the loop.
    static bool order_by_levels(const std::vector<Item>& items, std::vector<std::size_t>& order) {
        LevelOrder levels(items);
        std::vector<std::size_t> all(items.size());
        for (std::size_t p = 0; p < all.size(); ++p) {
            all[p] = p;
        }
        levels.split(all, 0);
        if (!levels.count_items_above()) {
            return false;
        }
        order.clear();
        order.reserve(items.size());
        for (std::size_t k = 0; k < levels.leaves_.size(); ++k) {
            levels.append_leaf(k, order);
        }
        return true;
    }

  private:
    struct Leaf {
        std::vector<std::size_t> members;  // input positions, ascending
        bool tolerant;                     // items may exchange among themselves
        std::vector<std::size_t> above;    // per member: items of higher leaves before it
        std::size_t above_total;           // items of higher leaves
    };

    const std::vector<Item>& items_;
    std::vector<Leaf> leaves_;

    explicit LevelOrder(const std::vector<Item>& items) : items_(items) {}

    double value(std::size_t p, int kind) const { return Traits::value(items_[p], kind); }

    bool exchange(std::size_t occupant, std::size_t later) const {
        return Traits::exchange(items_[occupant], items_[later]);
    }

    // Splits a group (input positions, ascending) into levels by the value
    // of the given kind and appends their leaves, highest first.
    void split(const std::vector<std::size_t>& group, int kind) {
        std::vector<std::size_t> sorted = group;
        const bool descending = Traits::descending(kind);
        std::stable_sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) {
            return descending ? value(a, kind) > value(b, kind) : value(a, kind) < value(b, kind);
        });
        std::size_t first = 0;
        while (first < sorted.size()) {
            std::size_t last = first + 1;
            bool one_value = true;
            for (; last < sorted.size(); ++last) {
                const double earlier = value(sorted[last - 1], kind);
                const double later = value(sorted[last], kind);
                if (earlier == later) {
                    continue;
                }
                if (Traits::separates(kind, earlier, later)) {
                    break;
                }
                one_value = false;
            }
            std::vector<std::size_t> level(sorted.begin() + static_cast<std::ptrdiff_t>(first),
                                           sorted.begin() + static_cast<std::ptrdiff_t>(last));
            std::sort(level.begin(), level.end());
            if (one_value && level.size() > 1 && kind + 1 < Traits::kValues) {
                split(level, kind + 1);
            } else {
                // One item, items equal in every value, or a tolerance leaf.
                leaves_.push_back(Leaf{std::move(level), !one_value, {}, 0});
            }
            first = last;
        }
    }

    // Counts for each member the items of higher leaves before it in the
    // input; false when the passes this implies cost more than the loop.
    bool count_items_above() {
        const std::size_t n = items_.size();
        std::vector<std::size_t> tree(n + 1, 0);  // counts of placed positions
        std::size_t placed = 0;
        const double loop_cost = 0.5 * static_cast<double>(n) * static_cast<double>(n);
        double cost = 0.0;
        for (Leaf& leaf : leaves_) {
            leaf.above.resize(leaf.members.size());
            for (std::size_t k = 0; k < leaf.members.size(); ++k) {
                std::size_t count = 0;
                for (std::size_t t = leaf.members[k]; t > 0; t &= t - 1) {
                    count += tree[t];
                }
                leaf.above[k] = count;
            }
            leaf.above_total = placed;
            cost += leaf_cost(leaf);
            if (cost > loop_cost) {
                return false;
            }
            for (std::size_t p : leaf.members) {
                for (std::size_t t = p + 1; t <= n; t += t & (~t + 1)) {
                    ++tree[t];
                }
            }
            placed += leaf.members.size();
        }
        return true;
    }

    // Comparisons (tolerance leaves) or moves (the others) that the leaf's
    // arrangement and order take.
    static double leaf_cost(const Leaf& leaf) {
        const std::size_t m = leaf.members.size();
        double cost = 0.0;
        for (std::size_t k = 0; k < m; ++k) {
            const double passes = static_cast<double>(passes_after(leaf, k));
            if (leaf.tolerant) {
                cost += passes * static_cast<double>(k + 1);
            } else if (passes > 0.0) {
                cost += static_cast<double>(k + 1);
            }
        }
        if (leaf.tolerant) {
            cost += 0.5 * static_cast<double>(m) * static_cast<double>(m);
        }
        return cost;
    }

    // Items of higher leaves between member k and the next (or the end).
    static std::size_t passes_after(const Leaf& leaf, std::size_t k) {
        const std::size_t next = k + 1 < leaf.members.size() ? leaf.above[k + 1] : leaf.above_total;
        return next - leaf.above[k];
    }

    void append_leaf(std::size_t index, std::vector<std::size_t>& order) const {
        const Leaf& leaf = leaves_[index];
        std::vector<std::size_t> front;
        front.reserve(leaf.members.size());
        for (std::size_t k = 0; k < leaf.members.size(); ++k) {
            front.push_back(leaf.members[k]);
            const std::size_t passes = passes_after(leaf, k);
            if (!leaf.tolerant) {
                const std::size_t turn = passes % front.size();
                std::rotate(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(turn),
                            front.end());
                continue;
            }
            for (std::size_t pass = 0; pass < passes; ++pass) {
                pass_to_end(front);
            }
        }
        if (leaf.tolerant) {
            run_loop(front);
        }
        order.insert(order.end(), front.begin(), front.end());
    }

    // One pass of the loop over the front whose traveller ends at its end.
    void pass_to_end(std::vector<std::size_t>& front) const {
        std::size_t traveller = front[0];
        for (std::size_t j = 1; j < front.size(); ++j) {
            const std::size_t later = front[j];
            if (exchange(traveller, later)) {
                front[j - 1] = traveller;
                traveller = later;
            } else {
                front[j - 1] = later;
            }
        }
        front.back() = traveller;
    }

    // The loop itself on a leaf's arrangement.
    void run_loop(std::vector<std::size_t>& slots) const {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            std::size_t traveller = slots[i];
            for (std::size_t j = i + 1; j < slots.size(); ++j) {
                if (exchange(traveller, slots[j])) {
                    std::swap(traveller, slots[j]);
                }
            }
            slots[i] = traveller;
        }
    }
};

// Rearranges the first order.size() elements so that element i is the one
// that was at order[i] (a permutation), following its cycles with one
// element held aside: no second copy of large records.
template <typename Sequence>
void apply_order(Sequence& sequence, const std::vector<std::size_t>& order) {
    std::vector<bool> placed(order.size(), false);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start] || order[start] == start) {
            continue;
        }
        auto held = sequence[start];
        std::size_t slot = start;
        for (;;) {
            placed[slot] = true;
            const std::size_t from = order[slot];
            if (from == start) {
                sequence[slot] = held;
                break;
            }
            sequence[slot] = sequence[from];
            slot = from;
        }
    }
}
