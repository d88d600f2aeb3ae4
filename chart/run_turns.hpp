// The order of the items inside the runs of a leaf (claim 7 in
// exchange_sort.hpp): the items of a run share every value, so the loop tells
// them apart only by where it moves them, and that follows from counting.
#pragma once

#include <cstddef>
#include <vector>

#include "chart/order_list.hpp"

// The leaf's items in the loop's order, as indices into member_run. The runs
// stand in `runs` in their final order; member_run[k] is the run that item k
// joined (items in input order; the first item of a run made it), and turns[k]
// the number of items of higher levels between item k and the next one.
//
// While the items are inserted, every run from the insertion point on turns by
// one (its first item goes to its end), and so does every run for each item of
// a higher level; an item that joins a run goes to its end.
std::vector<std::size_t> order_run_members(const OrderList& runs,
                                           const std::vector<std::size_t>& member_run,
                                           const std::vector<std::size_t>& turns);
