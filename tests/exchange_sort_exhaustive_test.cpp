// The order by levels against the loop itself on every arrangement of up to
// seven items (six under AddressSanitizer), ties included: each item takes
// one of the ranks 0 to k - 1, every rank used, and a rank stands for a pair
// of values chosen so that levels, chains within the tolerance, equal heights
// and equal items all occur. Random inputs miss the rare arrangements; these
// are all of them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/exchange_sort.hpp"

namespace {

struct TinyItem {
    int rank;
    int id;
};

// Heights (higher first) and places across: 0 and 1 at one height, a chain
// of heights within the tolerance of 1 from 0 to 1.2, and a pair far above.
constexpr double kHeights[] = {0.0, 0.0, 0.6, 1.2, 1.2, 4.0, 4.5};
constexpr double kAcross[] = {3.0, 1.0, 2.0, 0.0, 5.0, 4.0, 6.0};

// Two kinds, a height (higher first) and a place across (lower first), whose
// steps `Decide` gives.
template <Step (*Decide)(int, double, double)>
struct TinyTraits {
    using Item = TinyItem;
    static constexpr int kValues = 2;
    static double value(const Item& item, int kind) {
        return kind == 0 ? kHeights[item.rank] : kAcross[item.rank];
    }
    static bool descending(int kind) { return kind == 0; }
    static Step step(int kind, double occupant, double later) {
        return Decide(kind, occupant, later);
    }
};

// The tolerance of the hole order: a higher later item always goes first;
// one less than 1 lower is left to the place across, which decides exactly.
Step row_like_step(int kind, double occupant, double later) {
    if (kind == 1) {
        return occupant > later ? Step::exchange : Step::keep;
    }
    if (occupant < later) {
        return Step::exchange;
    }
    return occupant - later < 1.0 ? Step::next : Step::keep;
}

// The tolerances of the position order: symmetric, and places across within
// 1 keep either way, so that different items may never exchange.
Step place_like_step(int kind, double occupant, double later) {
    const double d = occupant - later;
    if (kind == 1) {
        return d > 1.0 ? Step::exchange : Step::keep;
    }
    if (d < -1.0) {
        return Step::exchange;
    }
    return std::fabs(d) >= 1.0 ? Step::keep : Step::next;
}

// Calls check(ranks) for every sequence of n ranks that uses each of 0 to
// k - 1 for some k, n from 1 to max_items.
template <typename Check>
void for_each_arrangement(int max_items, Check check) {
    for (int n = 1; n <= max_items; ++n) {
        std::vector<int> ranks(static_cast<std::size_t>(n), 0);
        for (;;) {
            std::vector<bool> used(static_cast<std::size_t>(n), false);
            int highest = 0;
            for (int r : ranks) {
                used[static_cast<std::size_t>(r)] = true;
                highest = std::max(highest, r);
            }
            if (std::find(used.begin(), used.begin() + highest + 1, false) ==
                used.begin() + highest + 1) {
                check(ranks);
            }
            std::size_t at = 0;
            while (at < ranks.size() && ranks[at] == n - 1) {
                ranks[at++] = 0;
            }
            if (at == ranks.size()) {
                break;
            }
            ++ranks[at];
        }
    }
}

// Seven items take about half a second in a Release build; under
// AddressSanitizer, whose allocations cost most here, six keep the test to
// about a second.
#if defined(__SANITIZE_ADDRESS__)
#define EXHAUSTIVE_UNDER_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EXHAUSTIVE_UNDER_ASAN
#endif
#endif
#ifdef EXHAUSTIVE_UNDER_ASAN
constexpr int kMaxItems = 6;
#else
constexpr int kMaxItems = 7;
#endif

template <typename Traits>
int mismatches_over_arrangements() {
    int mismatches = 0;
    for_each_arrangement(kMaxItems, [&](const std::vector<int>& ranks) {
        std::vector<TinyItem> items;
        for (int r : ranks) {
            items.push_back(TinyItem{r, static_cast<int>(items.size())});
        }
        std::vector<TinyItem> expected = items;
        run_exchange_loop(expected, exchanges<Traits>);
        std::vector<std::size_t> order;
        ASSERT_TRUE(LevelOrder<Traits>::order_by_levels(items, order));
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[order[i]].id != expected[i].id) {
                ++mismatches;
                ADD_FAILURE() << "ranks " << ::testing::PrintToString(ranks);
                return;
            }
        }
    });
    return mismatches;
}

TEST(ExchangeSortExhaustiveTest, EveryArrangementOfUpToSevenItems) {
    EXPECT_EQ(mismatches_over_arrangements<TinyTraits<row_like_step>>(), 0);
    EXPECT_EQ(mismatches_over_arrangements<TinyTraits<place_like_step>>(), 0);
}

}  // namespace
