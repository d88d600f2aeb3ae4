// Collecting, ordering and grouping holes into positions with their type
// table rows, and ordering the positions: a drilling pattern of 10^2 to
// 10^5 holes, and the layouts that make the exchange sorts work hardest, at
// 10^4 to 10^6 holes (the orders alone, without the chart that dominates a
// whole run of 10^6 positions).
#include <benchmark/benchmark.h>

#include <random>

#include "bench/bench_files.hpp"
#include "chart/hole_collection.hpp"
#include "chart/hole_type_table.hpp"
#include "entity/entity_file.hpp"
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

// The holes of a generated drawing that holds nothing else, as the reader
// loads them.
EntityList make_layout_holes(HoleLayout layout, int n) {
    EntityList list;
    int count = 0;
    read_entity_file(generated_drawing_file(n, n, layout).c_str(), list, count);
    return list;
}

void collect_order_group(benchmark::State& state, const EntityList& holes, int n) {
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

void order_grouped_positions(benchmark::State& state, EntityList holes, int n) {
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

void BM_CollectOrderGroup(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    collect_order_group(state, make_holes(n), n);
}

void BM_OrderPositions(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    order_grouped_positions(state, make_holes(n), n);
}

void BM_LayoutCollectOrderGroup(benchmark::State& state) {
    const auto layout = static_cast<HoleLayout>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    state.SetLabel(hole_layout_name(layout));
    collect_order_group(state, make_layout_holes(layout, n), n);
}

void BM_LayoutOrderPositions(benchmark::State& state) {
    const auto layout = static_cast<HoleLayout>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    state.SetLabel(hole_layout_name(layout));
    order_grouped_positions(state, make_layout_holes(layout, n), n);
}

void layouts(benchmark::internal::Benchmark* b) {
    const HoleLayout all[] = {HoleLayout::scattered,         HoleLayout::grid_bottom_up,
                              HoleLayout::row_right_to_left, HoleLayout::one_centre,
                              HoleLayout::tolerance_chain,   HoleLayout::duplicates,
                              HoleLayout::ten_centres,       HoleLayout::row_chain,
                              HoleLayout::sweep_chain,       HoleLayout::rotated_lattice};
    for (int holes : {10000, 100000, 1000000}) {
        for (HoleLayout layout : all) {
            b->Args({static_cast<int>(layout), holes});
        }
    }
}

}  // namespace

BENCHMARK(BM_CollectOrderGroup)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderPositions)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutCollectOrderGroup)->Apply(layouts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutOrderPositions)->Apply(layouts)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
