// The exchange sort of the hole and position orders (run_exchange_loop in
// exchange_loop.hpp), computed from the structure of its decision instead of
// pass by pass, with exactly the loop's result. The decisions use tolerances
// and are not transitive; on scattered input the loop makes about n^2 / 4
// exchanges in short runs, so no index that skips slots can follow it pass by
// pass. What makes it cheap is that the decision is a ranking of levels with
// tolerances only inside a level, and that the loop treats levels, and the
// items inside a level, in ways that can be worked out exactly. The claims,
// which the code cites:
//
// Claim 1 (levels). Sort the items by the value of a kind (y for holes) and
// cut between two neighbouring distinct values wherever the step of that kind
// decides both ways (`separates`): every item before the cut is exchanged
// forward past every item after it and never the other way. Since steps are
// monotone (exchange_loop.hpp), a cut between neighbours separates all items
// on either side. Within a level whose items share one value, the next kind
// is cut likewise; a level with more than one value of its kind, or with
// equal values in every kind, or a single item, is a leaf.
//
// Claim 2 (top sets). Let U be the items of the leaves from the top down to
// some leaf. An item below U never takes a traveller of U, and any item of U
// takes a traveller from below, so restricted to U the loop runs as it would
// on U alone, and its first |U| passes place U. Hence each leaf L fills the
// slots after the leaves above it, in the order the loop gives its items as
// they stand once those are placed.
//
// Claim 3 (markers). For L, an item of a higher leaf acts as a marker that
// every item of L is exchanged forward past and that no item of L takes: its
// own value and the exchanges among higher items do not reach L. So L's order
// is the loop's order of L's items with each higher item between them (the
// first of L's items on) replaced by a marker, the markers taking the first
// slots; the markers are counted with a Fenwick tree.
//
// Claim 4 (insertion). The loop's pass i meets slot j only after passes 0 to
// i - 1 have, so the loop gives the same result column by column: keep the
// slots already passed as registers 0, 1, ...; each new item x in input order
// meets register 0, 1, ... in turn, trading places whenever exchange(register,
// x) says so, and whatever is left becomes the next register.
//
// Claim 5 (runs). Group the registers into runs of equal values. Suppose the
// items of every run are exchanged forward past those of the run after it.
// A new item x passes the runs before the first run P that it is exchanged
// forward past (P is taken); there it takes P's first item, which passes its
// equals and takes the first item of the next run, and so on: x goes in before
// P, and every run from P on turns by one (its first item goes to its end). If
// x has the values of the run before P it joins that run, at its end. A marker
// goes in before all runs and turns every run.
//
// Claim 6 (order of runs). After x goes in, x is exchanged past P, and x was
// not exchanged past the run O before it. Where the decision is total on
// distinct values (of two items that differ, one is exchanged forward past
// the other; the hole order is: the higher, in a row the left, in a column
// the smaller), O is therefore exchanged past x and claim 5 holds again. The position order keeps
// two positions within every tolerance of each other either way round; where such neighbours meet,
// the leaf is run as claim 3 says, pass by pass, and then the loop itself, as long as that costs
// less than the loop on all items.
//
// Claim 7 (turns). Items of equal values differ only by where the loop moves
// them, so a run's order follows from counting: how far it had turned when
// each item joined it and at the end (run_turns.hpp).
//
// Claim 8 (the run taken). By monotone steps, for each kind the classes that
// x is exchanged past by that kind's step alone lie at the end of the kind's
// order, and those it leaves to the next kind lie together. Let kind a be the
// first kind at which some pair of the leaf keeps (a step that is neither
// exchange nor next). Before a every step exchanges or passes on, so x is
// exchanged past a class if a step of some kind up to a exchanges, or if all
// kinds up to a pass on and the decision exchanges. The first run of each such
// set is kept per kind in a Fenwick tree of the earliest runs of its classes;
// the classes within a's tolerance window are tried one by one, or, where
// the windows hold many, found with a segment tree over a's order whose
// nodes order their classes by the next kind b (window_tree.hpp): b's step
// alone exchanges past a tail of that order, and only the classes within b's
// tolerance window too are tried one by one.
//
// Claim 9 (cost). A leaf of m items of K classes costs O(m log m) and one
// try per class in the window of each item, or with the tree O(m log^2 K)
// and one try per class in both windows. A chain of rows holds a few classes
// in each window; copies of a hole at one place are one class; a row whose
// heights differ by less than the tolerance has no height window at all.
// Many tries are left only where many distinct items lie within the
// tolerances of one another (docs/performance.md names the shapes and bounds
// them); every leaf's tries count against the loop's comparisons, and past
// them the caller runs the loop.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "chart/exchange_loop.hpp"
#include "chart/fenwick_tree.hpp"
#include "chart/run_insertion.hpp"

template <typename Traits>
class LevelOrder {
    static_assert(HasOrderTraitsShape<Traits>::value,
                  "order traits need Item, kValues, value, descending and step "
                  "(see exchange_loop.hpp), with step monotone");

  public:
    using Item = typename Traits::Item;

    // Slot i of the loop's result receives items[order[i]]. Returns false,
    // leaving order alone, when a value is not finite or the leaves would cost
    // more than the loop; the caller runs the loop then.
    static bool order_by_levels(const std::vector<Item>& items, std::vector<std::size_t>& order) {
        if (!values_finite(items)) {
            return false;
        }
        LevelOrder levels(items);
        std::vector<std::size_t> all(items.size());
        for (std::size_t p = 0; p < all.size(); ++p) {
            all[p] = p;
        }
        levels.split(all, 0);
        levels.count_items_above();
        std::vector<std::size_t> result;
        result.reserve(items.size());
        for (const Leaf& leaf : levels.leaves_) {
            if (!levels.arrange(leaf, result)) {
                return false;
            }
        }
        order.swap(result);
        return true;
    }

    // Claim 1: for two distinct values of a kind in its order, whether every
    // item with `earlier` or before is exchanged forward past every item with
    // `later` or after, and never the other way, once the kinds before agree.
    static bool separates(int kind, double earlier, double later) {
        return Traits::step(kind, later, earlier) == Step::exchange &&
               Traits::step(kind, earlier, later) == Step::keep;
    }

  private:
    struct Leaf {
        std::vector<std::size_t> members;  // input positions, ascending
        int kind;                          // the kind it was cut at; the kinds before agree
        std::vector<std::size_t> above;    // per member: items of higher leaves before it
        std::size_t above_total;           // items of higher leaves
    };

    const std::vector<Item>& items_;
    std::vector<Leaf> leaves_;
    double budget_;  // what the leaves may still cost: about the loop's comparisons

    explicit LevelOrder(const std::vector<Item>& items)
        : items_(items),
          budget_(
              std::max(0.5 * static_cast<double>(items.size()) * static_cast<double>(items.size()),
                       4096.0)) {}

    static bool values_finite(const std::vector<Item>& items) {
        for (const Item& item : items) {
            for (int kind = 0; kind < Traits::kValues; ++kind) {
                if (!std::isfinite(Traits::value(item, kind))) {
                    return false;
                }
            }
        }
        return true;
    }

    double value(std::size_t p, int kind) const { return Traits::value(items_[p], kind); }

    // Claim 1: splits a group (input positions, ascending) into levels by the
    // value of the given kind and appends their leaves, highest first.
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
                if (separates(kind, earlier, later)) {
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
                leaves_.push_back(Leaf{std::move(level), kind, {}, 0});
            }
            first = last;
        }
    }

    // Claim 3: counts for each member the items of higher leaves before it in
    // the input.
    void count_items_above() {
        FenwickTree placed(items_.size());
        std::size_t placed_total = 0;
        for (Leaf& leaf : leaves_) {
            leaf.above.resize(leaf.members.size());
            for (std::size_t k = 0; k < leaf.members.size(); ++k) {
                leaf.above[k] = static_cast<std::size_t>(placed.sum_before(leaf.members[k]));
            }
            leaf.above_total = placed_total;
            for (std::size_t p : leaf.members) {
                placed.add(p, 1);
            }
            placed_total += leaf.members.size();
        }
    }

    // Per member: the markers between it and the next member (or the end).
    static std::vector<std::size_t> turns_of(const Leaf& leaf) {
        std::vector<std::size_t> turns(leaf.members.size());
        for (std::size_t k = 0; k < turns.size(); ++k) {
            const std::size_t next = k + 1 < turns.size() ? leaf.above[k + 1] : leaf.above_total;
            turns[k] = next - leaf.above[k];
        }
        return turns;
    }

    // Appends the leaf's items in the loop's order (claims 2 and 3); false
    // when that would cost more than the budget left.
    bool arrange(const Leaf& leaf, std::vector<std::size_t>& order) {
        if (leaf.members.size() == 1) {
            order.push_back(leaf.members[0]);
            return true;
        }
        const std::vector<std::size_t> turns = turns_of(leaf);
        // Claims 4 to 8, within the budget of claim 9.
        RunInsertion<Traits> runs(items_, leaf.members, leaf.kind);
        switch (runs.arrange(turns, budget_, order)) {
            case RunInsertion<Traits>::Outcome::arranged:
                return true;
            case RunInsertion<Traits>::Outcome::over_budget:
                return false;
            case RunInsertion<Traits>::Outcome::runs_out_of_order:
                break;
        }
        return arrange_pass_by_pass(leaf, turns, order);
    }

    // Claims 3 and 6: the leaf with markers, pass by pass: each marker after
    // a member makes one pass over the members before the next marker (the
    // front), whose traveller ends where the marker was; then the loop runs on
    // the leaf's arrangement.
    bool arrange_pass_by_pass(const Leaf& leaf, const std::vector<std::size_t>& turns,
                              std::vector<std::size_t>& order) {
        const std::size_t m = leaf.members.size();
        double cost = 0.5 * static_cast<double>(m) * static_cast<double>(m);
        for (std::size_t k = 0; k < m; ++k) {
            cost += static_cast<double>(turns[k]) * static_cast<double>(k + 1);
        }
        budget_ -= cost;
        if (budget_ < 0.0) {
            return false;
        }
        const std::size_t marker = items_.size();
        const auto exchange = [&](std::size_t occupant, std::size_t later) {
            return later == marker ||
                   (occupant != marker && exchanges<Traits>(items_[occupant], items_[later]));
        };
        std::vector<std::size_t> front;
        front.reserve(m + 1);
        for (std::size_t k = 0; k < m; ++k) {
            front.push_back(leaf.members[k]);
            for (std::size_t pass = 0; pass < turns[k]; ++pass) {
                front.push_back(marker);
                run_exchange_pass(front, 0, exchange);
                front.erase(front.begin());
            }
        }
        run_exchange_loop(front, exchange);
        order.insert(order.end(), front.begin(), front.end());
        return true;
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
