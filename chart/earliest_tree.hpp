// Fenwick trees of list nodes that keep, for every leading range of places,
// the node that comes first in an OrderList. Offers only ever bring a node
// forward, and the list is never reordered, so what they keep stays right.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "chart/order_list.hpp"

// The earlier of two nodes of the list, either of which may be kNone.
inline std::size_t earlier_node(const OrderList& list, std::size_t a, std::size_t b) {
    if (a == OrderList::kNone) {
        return b;
    }
    return b == OrderList::kNone || list.before(a, b) ? a : b;
}

constexpr uint32_t kNoNode = UINT32_MAX;

// The tree of `places` places in firsts[0] to firsts[places] (firsts[0] unused),
// all kNoNode at first: node is offered at a place. Each entry on the way up
// covers the places of the one before, so once one keeps an earlier node,
// all the rest do.
inline void offer_earliest(uint32_t* firsts, std::size_t places, const OrderList& list,
                           std::size_t place, std::size_t node) {
    for (std::size_t t = place + 1; t <= places; t += t & (~t + 1)) {
        if (firsts[t] != kNoNode && list.before(firsts[t], node)) {
            return;
        }
        firsts[t] = static_cast<uint32_t>(node);
    }
}

// The first node offered at places 0 to end - 1 (kNone if none).
inline std::size_t first_offered_before(const uint32_t* firsts, const OrderList& list,
                                        std::size_t end) {
    std::size_t first = OrderList::kNone;
    for (std::size_t t = end; t > 0; t &= t - 1) {
        if (firsts[t] != kNoNode) {
            first = earlier_node(list, first, firsts[t]);
        }
    }
    return first;
}

// One such tree with its own storage.
class EarliestTree {
  public:
    explicit EarliestTree(std::size_t places = 0) : firsts_(places + 1, kNoNode) {}

    void offer(const OrderList& list, std::size_t place, std::size_t node) {
        offer_earliest(firsts_.data(), firsts_.size() - 1, list, place, node);
    }

    std::size_t first_before(const OrderList& list, std::size_t end) const {
        return first_offered_before(firsts_.data(), list, end);
    }

  private:
    std::vector<uint32_t> firsts_;
};
