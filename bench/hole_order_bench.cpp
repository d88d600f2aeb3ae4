// Collecting, ordering and grouping 10^2 to 5 * 10^4 holes into positions
// with their type table rows, and ordering the positions.
#include <benchmark/benchmark.h>

#include <random>

#include "chart/hole_collection.hpp"
#include "chart/hole_type_table.hpp"
#include "util/fixed_text.hpp"

namespace {

// Holes on a drilling pattern: rows of equal height with some scatter, a
// tapped arc around every fifth hole.
EntityList make_holes(int n) {
    EntityList list = entity_list_create(n + 10);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> row(0, 199);
    std::uniform_real_distribution<double> x(0.0, 1000.0);
    for (int i = 0; i < n; ++i) {
        EntityRecord& r = list[static_cast<std::size_t>(i)];
        copy_text(r.kind, "CIRCLE");
        copy_text(r.shape, "C");
        r.id = i + 1;
        r.center = Point{x(rng), row(rng) * 5.0};
        r.radius = 1.0 + (i % 7) * 0.5;
        r.sweep = 360.0;
        if (i % 5 == 4) {
            const Point previous = list[static_cast<std::size_t>(i - 1)].center;
            copy_text(r.kind, "ARC");
            copy_text(r.shape, "A");
            r.center = previous;
            r.radius = 4.0;
            r.sweep = 270.0;
        }
    }
    return list;
}

void BM_CollectOrderGroup(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const EntityList holes = make_holes(n);
    for (auto _ : state) {
        state.PauseTiming();
        EntityList list = holes;
        state.ResumeTiming();
        const int found = collect_holes(list, n);
        order_holes(list, found);
        benchmark::DoNotOptimize(build_positions(list, found));
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_OrderPositions(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    EntityList holes = make_holes(n);
    const int found = collect_holes(holes, n);
    order_holes(holes, found);
    const HolePositions positions = build_positions(holes, found);
    for (auto _ : state) {
        state.PauseTiming();
        EntityList list = holes;
        std::vector<HoleTypeRow> table = positions.rows;
        state.ResumeTiming();
        order_positions(list, table, positions.count, 0.0, 0.0);
    }
    state.SetItemsProcessed(state.iterations() * positions.count);
}

}  // namespace

BENCHMARK(BM_CollectOrderGroup)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderPositions)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
