// The loop's order of one leaf, worked out by inserting its items one by one
// into runs (claims 4 to 8 in exchange_sort.hpp): each item goes in before the
// first run it is exchanged forward past, every run from there on turns by
// one, and so does every run for each item of a higher level.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "chart/earliest_tree.hpp"
#include "chart/exchange_loop.hpp"
#include "chart/order_list.hpp"
#include "chart/run_turns.hpp"
#include "chart/window_tree.hpp"

template <typename Traits>
class RunInsertion {
  public:
    using Item = typename Traits::Item;

    enum class Outcome { arranged, runs_out_of_order, over_budget };

    // The leaf of the input positions `members` (ascending), which agree in
    // every kind before first_kind.
    RunInsertion(const std::vector<Item>& items, const std::vector<std::size_t>& members,
                 int first_kind)
        : items_(items), members_(members), runs_(members.size()) {
        group_classes(first_kind);
        index_kinds(first_kind);
        first_run_.assign(representative_.size(), kNone);
        member_run_.reserve(members.size());
    }

    RunInsertion(const RunInsertion&) = delete;
    RunInsertion& operator=(const RunInsertion&) = delete;

    // Appends the members in the loop's order to `order`; turns[k] counts the
    // items of higher levels between member k and the next (or the end).
    // What the leaf costs beyond O(m log m), its tries (claim 9), is taken
    // from `budget`, in the loop's comparisons. Leaves order untouched unless
    // it arranges: when two neighbouring runs turn out not to be in order
    // (claim 6), which the position order allows for positions within every
    // tolerance of each other, or when the tries would pass the budget
    // (decided before any is made).
    Outcome arrange(const std::vector<std::size_t>& turns, double& budget,
                    std::vector<std::size_t>& order) {
        if (members_.empty()) {
            return Outcome::arranged;
        }
        const double cost = kTryCost * plan_window();
        if (cost > budget) {
            return Outcome::over_budget;
        }
        // Claim 4: the items go in in input order.
        for (std::size_t k = 0; k < members_.size(); ++k) {
            if (!insert(k)) {
                return Outcome::runs_out_of_order;
            }
        }
        budget -= cost;
        for (std::size_t k : order_run_members(runs_, member_run_, turns)) {
            order.push_back(members_[k]);
        }
        return Outcome::arranged;
    }

  private:
    static constexpr std::size_t kNone = OrderList::kNone;
    // A try reads a class's first run and compares it in the list: about
    // four comparisons of the loop over compact keys (measured on a pile of
    // 40,000 different holes).
    static constexpr double kTryCost = 4.0;

    // The classes in the order of one kind (class numbers and places fit in
    // 32 bits: there are fewer items than an int counts).
    struct KindIndex {
        int kind;
        std::vector<uint32_t> classes;   // in the kind's order
        std::vector<uint32_t> place;     // per class: its place there
        std::vector<uint32_t> deferred;  // per class c: where the places that c, as the
        std::vector<uint32_t> decided;   // later item, leaves to the next kind and where
                                         // those it is exchanged past begin
    };

    const std::vector<Item>& items_;
    const std::vector<std::size_t>& members_;
    std::vector<std::size_t> class_of_;        // per member
    std::vector<std::size_t> representative_;  // per class: an input position
    std::vector<KindIndex> kinds_;             // up to the first that can keep back (a)
    std::vector<EarliestTree> firsts_;         // per kind of kinds_, counted from the end
    std::unique_ptr<KindIndex> below_;         // the kind after a, if any
    std::unique_ptr<WindowTree> window_;       // over a's order, when trying costs more
    OrderList runs_;
    std::vector<std::size_t> run_class_;
    std::vector<std::size_t> first_run_;  // per class (kNone before its first item)
    std::vector<std::size_t> member_run_;

    double value_of_class(std::size_t c, int kind) const {
        return Traits::value(items_[representative_[c]], kind);
    }

    const Item& item_of_class(std::size_t c) const { return items_[representative_[c]]; }

    // Members with equal values in every kind form one class.
    void group_classes(int first_kind) {
        struct Keyed {
            std::array<double, Traits::kValues> values;
            std::size_t member;
        };
        std::vector<Keyed> sorted(members_.size());
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            sorted[k].member = k;
            for (int kind = first_kind; kind < Traits::kValues; ++kind) {
                sorted[k].values[kind] = Traits::value(items_[members_[k]], kind);
            }
        }
        const auto less = [&](const Keyed& a, const Keyed& b) {
            return std::lexicographical_compare(a.values.begin() + first_kind, a.values.end(),
                                                b.values.begin() + first_kind, b.values.end());
        };
        std::sort(sorted.begin(), sorted.end(), less);
        class_of_.resize(members_.size());
        for (std::size_t s = 0; s < sorted.size(); ++s) {
            if (s == 0 || less(sorted[s - 1], sorted[s])) {
                representative_.push_back(members_[sorted[s].member]);
            }
            class_of_[sorted[s].member] = representative_.size() - 1;
        }
    }

    // Claim 8: the kinds from first_kind up to the first that can keep an
    // item back (a, whose first and last values keep) get a tree each.
    void index_kinds(int first_kind) {
        if (representative_.empty()) {
            return;
        }
        for (int kind = first_kind; kind < Traits::kValues; ++kind) {
            kinds_.push_back(index_kind(kind));
            firsts_.emplace_back(representative_.size());
            const KindIndex& index = kinds_.back();
            const double first_value = value_of_class(index.classes.front(), kind);
            const double last_value = value_of_class(index.classes.back(), kind);
            if (Traits::step(kind, first_value, last_value) == Step::keep) {
                index_kind_below(kind);
                return;
            }
        }
    }

    // The kind after a that the window tree sorts by: the next one whose
    // values differ (a kind of one value passes every pair on).
    void index_kind_below(int a) {
        for (int kind = a + 1; kind < Traits::kValues; ++kind) {
            KindIndex index = index_kind(kind);
            const double first_value = value_of_class(index.classes.front(), kind);
            const double last_value = value_of_class(index.classes.back(), kind);
            if (first_value != last_value) {
                below_.reset(new KindIndex(std::move(index)));
                return;
            }
        }
    }

    KindIndex index_kind(int kind) const {
        const std::size_t count = representative_.size();
        KindIndex index{kind, std::vector<uint32_t>(count), std::vector<uint32_t>(count),
                        std::vector<uint32_t>(count), std::vector<uint32_t>(count)};
        // Negating is exact, so higher values first is lower negated first.
        const double sign = Traits::descending(kind) ? -1.0 : 1.0;
        std::vector<std::pair<double, std::size_t>> sorted(count);
        for (std::size_t c = 0; c < count; ++c) {
            sorted[c] = {sign * value_of_class(c, kind), c};
        }
        std::sort(sorted.begin(), sorted.end());
        std::vector<double> values(count);
        for (std::size_t p = 0; p < count; ++p) {
            index.classes[p] = static_cast<uint32_t>(sorted[p].second);
            index.place[sorted[p].second] = static_cast<uint32_t>(p);
            values[p] = sign * sorted[p].first;
        }
        // The first places reached rise with the later value's place, steps
        // being monotone: one sweep finds them all.
        std::size_t deferred = 0;
        std::size_t decided = 0;
        for (std::size_t p = 0; p < count; ++p) {
            const double later = values[p];
            while (deferred < count && Traits::step(kind, values[deferred], later) == Step::keep) {
                ++deferred;
            }
            decided = std::max(decided, deferred);
            while (decided < count &&
                   Traits::step(kind, values[decided], later) != Step::exchange) {
                ++decided;
            }
            index.deferred[index.classes[p]] = static_cast<uint32_t>(deferred);
            index.decided[index.classes[p]] = static_cast<uint32_t>(decided);
        }
        return index;
    }

    // Claim 9: trying a's window class by class costs one try per class in
    // it; the window tree costs O(log^2) per item and one try per class
    // within the tolerances of both a and the kind after it. Builds the tree
    // when the windows hold more than a few classes per item on average, and
    // returns the tries that the items will make.
    double plan_window() {
        const KindIndex& a = kinds_.back();
        double tries = 0.0;
        for (std::size_t c : class_of_) {
            tries += static_cast<double>(a.decided[c] - a.deferred[c]);
        }
        const double count = static_cast<double>(representative_.size());
        if (!below_ ||
            tries <= 16.0 * static_cast<double>(members_.size()) * std::log2(count + 1)) {
            return tries;
        }
        window_.reset(new WindowTree(a.classes, below_->place));
        tries = 0.0;
        for (std::size_t c : class_of_) {
            tries += static_cast<double>(window_->count(a.deferred[c], a.decided[c],
                                                        below_->deferred[c], below_->decided[c]));
        }
        return tries;
    }

    // Claim 8: the first run whose class the class c is exchanged forward
    // past, or kNone.
    std::size_t first_run_taken(std::size_t c) {
        std::size_t first = kNone;
        for (std::size_t k = 0; k < kinds_.size(); ++k) {
            const KindIndex& index = kinds_[k];
            const std::size_t tail = index.classes.size() - index.decided[c];
            first = earlier_node(runs_, first, firsts_[k].first_before(runs_, tail));
        }
        const KindIndex& a = kinds_.back();
        const auto try_class = [&](std::size_t r, std::size_t best) {
            const std::size_t run = first_run_[r];
            if (run != kNone && earlier_node(runs_, run, best) == run && run != best &&
                exchanges<Traits>(item_of_class(r), item_of_class(c))) {
                return run;
            }
            return best;
        };
        if (!window_) {
            for (std::size_t p = a.deferred[c]; p < a.decided[c]; ++p) {
                first = try_class(a.classes[p], first);
            }
            return first;
        }
        const std::size_t in_window = window_->first_run(
            runs_, a.deferred[c], a.decided[c], below_->deferred[c], below_->decided[c],
            [&](std::size_t place_in_below, std::size_t best) {
                return try_class(below_->classes[place_in_below], best);
            });
        return earlier_node(runs_, first, in_window);
    }

    // Claims 5 and 6: member k goes in before the first run it is exchanged
    // past; it joins the run before that when it has the same values, or
    // makes a run of its own, which that run must precede.
    bool insert(std::size_t k) {
        const std::size_t c = class_of_[k];
        const std::size_t taken = first_run_taken(c);
        const std::size_t before = taken == kNone ? runs_.last() : runs_.previous(taken);
        if (before != kNone && run_class_[before] == c) {
            member_run_.push_back(before);
            return true;
        }
        if (before != kNone &&
            !exchanges<Traits>(item_of_class(c), item_of_class(run_class_[before]))) {
            return false;
        }
        const std::size_t run = runs_.insert_before(taken);
        run_class_.push_back(c);
        member_run_.push_back(run);
        if (earlier_node(runs_, run, first_run_[c]) == run) {
            first_run_[c] = run;
            offer_first_run(c, run);
        }
        return true;
    }

    void offer_first_run(std::size_t c, std::size_t run) {
        for (std::size_t k = 0; k < kinds_.size(); ++k) {
            firsts_[k].offer(runs_, kinds_[k].classes.size() - 1 - kinds_[k].place[c], run);
        }
        if (window_) {
            window_->offer(runs_, kinds_.back().place[c], below_->place[c], run);
        }
    }
};
