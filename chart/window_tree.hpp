// The classes of a leaf within a tolerance window, searched without trying
// them one by one (claim 8 in exchange_sort.hpp): a segment tree over the
// classes in the order of the window's kind a, whose every node keeps its
// classes in the order of the next kind b, with an EarliestTree of their first
// runs counted from the end. A window is O(log K) nodes; in each, the classes
// that the next kind alone decides for (a tail of b's order) take one tree
// query, and those it leaves to the kinds after it (a stretch of b's order,
// classes within both tolerances) are handed out one by one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "chart/earliest_tree.hpp"
#include "chart/order_list.hpp"

class WindowTree {
  public:
    // classes_in_a: the classes in a's order; place_in_b: per class, its
    // place in b's order.
    WindowTree(const std::vector<uint32_t>& classes_in_a, const std::vector<uint32_t>& place_in_b)
        : count_(classes_in_a.size()), begin_(2 * count_ + 1, 0) {
        // Node t covers nodes 2t and 2t + 1; the leaves count_ to
        // 2 count_ - 1 are the places of a's order.
        std::vector<std::size_t> sizes(2 * count_, 1);
        for (std::size_t node = count_; node-- > 1;) {
            sizes[node] = sizes[2 * node] + sizes[2 * node + 1];
        }
        for (std::size_t node = 1; node < 2 * count_; ++node) {
            begin_[node + 1] = begin_[node] + sizes[node];
        }
        places_.resize(begin_.back());
        for (std::size_t p = 0; p < count_; ++p) {
            places_[begin_[count_ + p]] = place_in_b[classes_in_a[p]];
        }
        for (std::size_t node = count_; node-- > 1;) {
            const auto at = [&](std::size_t t) {
                return places_.begin() + static_cast<std::ptrdiff_t>(t);
            };
            std::merge(at(begin_[2 * node]), at(begin_[2 * node + 1]), at(begin_[2 * node + 1]),
                       at(begin_[2 * node + 2]), at(begin_[node]));
        }
        firsts_.assign(begin_.back() + 2 * count_, kNoNode);
    }

    // Class (at place_in_a in a's order, place_in_b in b's) has a new first run.
    void offer(const OrderList& list, std::size_t place_in_a, std::size_t place_in_b,
               std::size_t run) {
        for (std::size_t node = count_ + place_in_a; node >= 1; node /= 2) {
            const std::size_t at = find(node, place_in_b) - begin_[node];
            offer_earliest(tree(node), size(node), list, size(node) - 1 - at, run);
        }
    }

    // Over the places [begin, end) of a's order: the first run among classes
    // whose place in b's order is at least `decided`, and, through try_class,
    // each place in b's order within [deferred, decided).
    template <typename TryClass>
    std::size_t first_run(const OrderList& list, std::size_t begin, std::size_t end,
                          std::size_t deferred, std::size_t decided, TryClass try_class) const {
        std::size_t first = OrderList::kNone;
        const auto visit = [&](std::size_t node) {
            const std::size_t from = find(node, decided) - begin_[node];
            first = earlier_node(list, first,
                                 first_offered_before(tree(node), list, size(node) - from));
            for (std::size_t at = find(node, deferred); at < begin_[node] + from; ++at) {
                first = try_class(places_[at], first);
            }
        };
        for_each_node(begin, end, visit);
        return first;
    }

    // The places of b's order within [deferred, decided) over the places
    // [begin, end) of a's order: the classes that first_run hands out.
    std::size_t count(std::size_t begin, std::size_t end, std::size_t deferred,
                      std::size_t decided) const {
        std::size_t total = 0;
        for_each_node(begin, end, [&](std::size_t node) {
            total += find(node, decided) - find(node, deferred);
        });
        return total;
    }

  private:
    std::size_t count_;
    std::vector<std::size_t> begin_;  // per node: where its places start in places_
    std::vector<uint32_t> places_;    // per node: its classes' places in b's order, rising
    std::vector<uint32_t> firsts_;    // per node: its tree of first runs (earliest_tree.hpp)

    // The O(log) nodes that together cover the places [begin, end) of a's order.
    template <typename Visit>
    void for_each_node(std::size_t begin, std::size_t end, Visit visit) const {
        for (std::size_t l = begin + count_, r = end + count_; l < r; l /= 2, r /= 2) {
            if (l & 1) {
                visit(l++);
            }
            if (r & 1) {
                visit(--r);
            }
        }
    }

    std::size_t size(std::size_t node) const { return begin_[node + 1] - begin_[node]; }

    std::size_t find(std::size_t node, std::size_t place_in_b) const {
        return static_cast<std::size_t>(
            std::lower_bound(places_.begin() + static_cast<std::ptrdiff_t>(begin_[node]),
                             places_.begin() + static_cast<std::ptrdiff_t>(begin_[node + 1]),
                             place_in_b) -
            places_.begin());
    }

    // Node's tree: size(node) + 1 entries from begin_[node] + node - 1.
    uint32_t* tree(std::size_t node) { return firsts_.data() + begin_[node] + node - 1; }
    const uint32_t* tree(std::size_t node) const {
        return firsts_.data() + begin_[node] + node - 1;
    }
};
