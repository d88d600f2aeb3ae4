#include "chart/run_turns.hpp"

#include <cstdint>

#include "chart/fenwick_tree.hpp"

namespace {

// Every run's items in the order they joined it, and the turns each run had
// seen when each of its items joined and at the end.
struct RunHistories {
    std::vector<std::size_t> begin;      // per run: where its items start in `members`
    std::vector<std::size_t> members;    // grouped by run, in the order they joined
    std::vector<int64_t> turned;         // per item: the run's turns when it joined
    std::vector<int64_t> turned_at_end;  // per run
};

// The final place of each run in the list.
std::vector<std::size_t> run_ranks(const OrderList& runs) {
    std::vector<std::size_t> rank(runs.size());
    std::size_t next_rank = 0;
    for (std::size_t run = runs.first(); run != OrderList::kNone; run = runs.next(run)) {
        rank[run] = next_rank++;
    }
    return rank;
}

// The items of each run, in the order they joined.
void group_by_run(const std::vector<std::size_t>& member_run, RunHistories& histories) {
    std::vector<std::size_t>& begin = histories.begin;
    for (std::size_t run : member_run) {
        ++begin[run + 1];
    }
    for (std::size_t run = 1; run < begin.size(); ++run) {
        begin[run] += begin[run - 1];
    }
    std::vector<std::size_t> filled(begin.begin(), begin.end() - 1);
    histories.members.resize(member_run.size());
    for (std::size_t k = 0; k < member_run.size(); ++k) {
        histories.members[filled[member_run[k]]++] = k;
    }
}

// The turns each run has seen at each of its joins and at the end: an
// insertion turns every run after the run it joined or made, which, the list
// never being reordered, are the runs of higher final rank that exist by then
// (a run counts from its first item on, so the turns before cancel out); an
// item of a higher level turns every run.
RunHistories run_histories(const OrderList& runs, const std::vector<std::size_t>& member_run,
                           const std::vector<std::size_t>& turns) {
    const std::vector<std::size_t> rank = run_ranks(runs);
    RunHistories histories;
    histories.begin.assign(runs.size() + 1, 0);
    group_by_run(member_run, histories);
    histories.turned.resize(member_run.size());
    FenwickTree inserted(runs.size());  // insertions so far, by the rank of their run
    int64_t above = 0;                  // items of higher levels so far
    for (std::size_t k = 0; k < member_run.size(); ++k) {
        const std::size_t run = member_run[k];
        histories.turned[k] = inserted.sum_before(rank[run]) + above;
        inserted.add(rank[run], 1);
        above += static_cast<int64_t>(turns[k]);
    }
    histories.turned_at_end.resize(runs.size());
    for (std::size_t run = 0; run < runs.size(); ++run) {
        histories.turned_at_end[run] = inserted.sum_before(rank[run]) + above;
    }
    return histories;
}

// The run's items in their final order. The run is kept as a ring read from
// `start`: a turn moves start on by one, and an item that joins goes in just
// before start, at the end of the reading. The places where items go in are
// ranks among the items already there; replayed backwards over the free
// places they give each item its place in the ring.
void append_run(const RunHistories& histories, std::size_t run, std::vector<std::size_t>& order) {
    const std::size_t* members = histories.members.data() + histories.begin[run];
    const std::size_t size = histories.begin[run + 1] - histories.begin[run];
    const auto turned = [&](std::size_t i) {
        return i < size ? histories.turned[members[i]] : histories.turned_at_end[run];
    };
    if (size == 1) {
        order.push_back(members[0]);
        return;
    }
    std::vector<int64_t> rank_at_join(size, 0);
    int64_t start = 0;
    for (std::size_t i = 1; i <= size; ++i) {
        start = (start + turned(i) - turned(i - 1)) % static_cast<int64_t>(i);
        if (i < size) {
            rank_at_join[i] = start;
            start += 1;
        }
    }
    FenwickTree free_places(size);
    for (std::size_t p = 0; p < size; ++p) {
        free_places.add(p, 1);
    }
    std::vector<std::size_t> ring(size);
    for (std::size_t i = size; i-- > 0;) {
        const std::size_t place = free_places.position_of(rank_at_join[i]);
        ring[place] = members[i];
        free_places.add(place, -1);
    }
    for (std::size_t i = 0; i < size; ++i) {
        order.push_back(ring[(static_cast<std::size_t>(start) + i) % size]);
    }
}

}  // namespace

std::vector<std::size_t> order_run_members(const OrderList& runs,
                                           const std::vector<std::size_t>& member_run,
                                           const std::vector<std::size_t>& turns) {
    const RunHistories histories = run_histories(runs, member_run, turns);
    std::vector<std::size_t> order;
    order.reserve(member_run.size());
    for (std::size_t run = runs.first(); run != OrderList::kNone; run = runs.next(run)) {
        append_run(histories, run, order);
    }
    return order;
}
