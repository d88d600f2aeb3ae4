// The whole tool on generated drawings, run as the front end runs it: a
// separate process in a drive folder. Reports wall time and the process's
// peak memory, and the run time as a share of reading the same file with
// the plain fscanf reader in the same iteration (plain_ratio), which keeps
// the comparison fair on a machine whose speed varies.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_files.hpp"
#include "bench/stdio_reference.hpp"

namespace {

struct ChildRun {
    double seconds = 0.0;
    long peak_kib = 0;
};

// The tool to run: this build's, or another build's named by
// HOLECHART_BENCH_BINARY (to measure a change against the tree before it).
const char* tool_binary() {
    const char* other = std::getenv("HOLECHART_BENCH_BINARY");
    return other != nullptr && *other != '\0' ? other : HOLECHART_BINARY;
}

ChildRun run_tool(const std::string& drive) {
    const char* binary = tool_binary();
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("HOLECHART_DRIVE_C", drive.c_str(), 1);
        ::execl(binary, "holechart", "1100", "0", "1400", "1000", "0", "0",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    ChildRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peak_kib = usage.ru_maxrss;
    return run;
}

double plain_read_seconds(const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    EntityList list;
    int count = 0;
    read_entity_file_stdio(path.c_str(), list, count);
    benchmark::DoNotOptimize(list.records.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// With HOLECHART_BENCH_KEEP naming a folder, the result file of each drawing
// is copied there, so that the results of two builds can be compared.
void keep_result(const std::string& result, int entities, int holes, HoleLayout layout) {
    const char* folder = std::getenv("HOLECHART_BENCH_KEEP");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    std::filesystem::create_directories(folder);
    const std::string name = std::to_string(entities) + "-" + std::to_string(holes) + "-" +
                             hole_layout_name(layout) + ".fad";
    std::filesystem::copy_file(result, std::string(folder) + "/" + name,
                               std::filesystem::copy_options::overwrite_existing);
}

void BM_WholeRun(benchmark::State& state) {
    const int entities = static_cast<int>(state.range(0));
    const int holes = static_cast<int>(state.range(1));
    const auto layout = static_cast<HoleLayout>(state.range(2));
    state.SetLabel(hole_layout_name(layout));
    const std::string drawing = generated_drawing_file(entities, holes, layout);
    const std::string drive = temporary_path("drive-" + std::to_string(entities));
    std::filesystem::create_directories(drive + "/ZEP/work");
    std::filesystem::create_directories(drive + "/ZEP/Link");
    std::filesystem::copy_file(drawing, drive + "/ZEP/work/Object.fad",
                               std::filesystem::copy_options::overwrite_existing);
    FILE* settings = std::fopen((drive + "/ZEP/work/infoHoleTable.dat").c_str(), "w");
    std::fputs("1 HoleChart 3 N 2.5\n", settings);
    std::fclose(settings);

    long peak = 0;
    double run_total = 0.0;
    double plain_total = 0.0;
    for (auto _ : state) {
        const ChildRun run = run_tool(drive);
        state.SetIterationTime(run.seconds);
        run_total += run.seconds;
        plain_total += plain_read_seconds(drawing);
        peak = run.peak_kib > peak ? run.peak_kib : peak;
    }
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
    state.counters["bytes_per_entity"] = static_cast<double>(peak) * 1024.0 / entities;
    state.counters["result_KiB"] =
        static_cast<double>(file_size(drive + "/ZEP/work/ResultDR.fad")) / 1024.0;
    state.counters["plain_read_ms"] =
        1000.0 * plain_total / static_cast<double>(state.iterations());
    state.counters["plain_ratio"] = run_total / plain_total;
    keep_result(drive + "/ZEP/work/ResultDR.fad", entities, holes, layout);
    std::filesystem::remove_all(drive);
}

// Entities, holes, layout: the drawings of the targets (10^4 scattered
// holes; 10^5 holes on a grid listed bottom-up) and the layouts that make
// the hole orders work hardest, among 10^6 entities.
void drawings(benchmark::internal::Benchmark* b) {
    b->Args({100000, 1000, static_cast<int>(HoleLayout::scattered)});
    b->Args({1000000, 10000, static_cast<int>(HoleLayout::scattered)});
    b->Args({1000000, 100000, static_cast<int>(HoleLayout::grid_bottom_up)});
    for (HoleLayout layout : {HoleLayout::row_right_to_left, HoleLayout::one_centre,
                              HoleLayout::tolerance_chain, HoleLayout::duplicates}) {
        b->Args({1000000, 10000, static_cast<int>(layout)});
    }
}

// Drawings of holes only, laid out as the hole orders find hardest: copies
// at one centre and on ten centres, chains of rows and of sweeps within their
// tolerances, lattices straight and turned, and scatter; at 10^5 holes here,
// at 10^6 in the next (one run each: the tree before the exact leaves took up
// to half an hour on some). Targets: 10^6 holes on ten centres, and the
// chain of 150,000 holes, each in under 10 s.
void hole_layouts(benchmark::internal::Benchmark* b, int holes) {
    for (HoleLayout layout :
         {HoleLayout::one_centre, HoleLayout::ten_centres, HoleLayout::tolerance_chain,
          HoleLayout::row_chain, HoleLayout::sweep_chain, HoleLayout::grid_bottom_up,
          HoleLayout::rotated_lattice, HoleLayout::scattered}) {
        b->Args({holes, holes, static_cast<int>(layout)});
    }
}

}  // namespace

BENCHMARK(BM_WholeRun)
    ->Apply(drawings)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeRun)
    ->Apply([](benchmark::internal::Benchmark* b) {
        hole_layouts(b, 100000);
        // The chain of the target: 150,000 holes in under 10 s.
        b->Args({150000, 150000, static_cast<int>(HoleLayout::row_chain)});
    })
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeRun)
    ->Apply([](benchmark::internal::Benchmark* b) { hole_layouts(b, 1000000); })
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
