// Drawing generated drawings as SVG: in process (reading and rendering), and
// the whole program run as a user runs it, output file included.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_files.hpp"
#include "tools/fad2svg/options.hpp"
#include "tools/fad2svg/render.hpp"

using fad2svg::render_files;
using fad2svg::SvgOptions;

namespace {

void BM_Render(benchmark::State& state) {
    const int entities = static_cast<int>(state.range(0));
    SvgOptions options;
    options.inputs.push_back(generated_drawing_file(entities, entities / 100));
    options.output = temporary_path("render.svg");
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string svg;
        std::vector<std::string> warnings;
        std::string error;
        if (!render_files(options, svg, warnings, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.SetItemsProcessed(state.iterations() * entities);
    state.counters["svg_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void BM_WholeProgram(benchmark::State& state) {
    const int entities = static_cast<int>(state.range(0));
    const std::string input = generated_drawing_file(entities, entities / 100);
    const std::string output = temporary_path("program.svg");
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl(FAD2SVG_BINARY, "fad2svg", input.c_str(), "-o", output.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("fad2svg failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * entities);
    state.counters["svg_MiB"] = static_cast<double>(file_size(output)) / (1024.0 * 1024.0);
}

}  // namespace

BENCHMARK(BM_Render)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeProgram)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
