// The exchange sort as it is written, and the decision it makes, kind by
// kind, for the orders of the chart:
//
//     for i: for j after i: if exchange(slot i, slot j): trade slots i and j
//
// run_exchange_loop is that loop, the one every faster form of it is measured
// against: the tests compare with it, and the leaves that no faster form takes
// run it. Its result depends on every single exchange, because the decisions
// use tolerances and are not transitive.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

// What one kind of value decides between the occupant of the earlier slot and
// the item in a later slot: exchange them, keep them, or leave it to the next
// kind.
enum class Step { exchange, keep, next };

// The traits of an order: the values it compares, kind by kind in order of
// rank, and what each kind decides.
//
//   using Item
//   static constexpr int kValues
//   static double value(const Item&, int kind)
//   static bool descending(int kind)     whether higher values come first
//   static Step step(int kind, double occupant, double later)
//
// The decision is the first step that is not `next`; an item never exchanges
// with an item of the same values (equal values give `next` for every kind but
// the last, which then keeps).
//
// step must be monotone: a later value that comes earlier in the kind's order
// (higher where descending, lower otherwise), or an occupant's value that comes
// later, never turns exchange into next or keep, nor next into keep. The
// decisions of the chart compute a difference and compare it with a tolerance;
// a rounded difference is monotone in each operand, so they are. On it rest
// the cuts between levels (`separates` in LevelOrder) and the searches of the
// leaves (claims 1 and 8 in exchange_sort.hpp).
template <typename Traits, typename = void>
struct HasOrderTraitsShape : std::false_type {};

template <typename Traits>
struct HasOrderTraitsShape<
    Traits,
    std::enable_if_t<std::is_same<decltype(Traits::kValues), const int>::value &&
                     std::is_same<decltype(&Traits::value),
                                  double (*)(const typename Traits::Item&, int)>::value &&
                     std::is_same<decltype(&Traits::descending), bool (*)(int)>::value &&
                     std::is_same<decltype(&Traits::step), Step (*)(int, double, double)>::value>>
    : std::true_type {};

// The decision of the order: the first kind whose step is not `next`. Kind
// by kind at compile time, so that each step is inlined for its kind.
template <typename Traits, int kFirstKind = 0>
bool exchanges(const typename Traits::Item& occupant, const typename Traits::Item& later) {
    if constexpr (kFirstKind == Traits::kValues) {
        return false;
    } else {
        const Step step = Traits::step(kFirstKind, Traits::value(occupant, kFirstKind),
                                       Traits::value(later, kFirstKind));
        if (step != Step::next) {
            return step == Step::exchange;
        }
        return exchanges<Traits, kFirstKind + 1>(occupant, later);
    }
}

// One pass of the loop: the occupant of slot i, compared with every later
// slot, takes the item there whenever exchange(occupant, later) says so and
// leaves itself in its place; slot i receives what it holds at the end.
template <typename Slots, typename Exchange>
void run_exchange_pass(Slots& slots, std::size_t i, Exchange exchange) {
    auto occupant = slots[i];
    for (std::size_t j = i + 1; j < slots.size(); ++j) {
        if (exchange(occupant, slots[j])) {
            std::swap(occupant, slots[j]);
        }
    }
    slots[i] = occupant;
}

// The loop itself. A slot compared with itself is never exchanged, so j
// starts after i.
template <typename Slots, typename Exchange>
void run_exchange_loop(Slots& slots, Exchange exchange) {
    for (std::size_t i = 0; i < slots.size(); ++i) {
        run_exchange_pass(slots, i, exchange);
    }
}
