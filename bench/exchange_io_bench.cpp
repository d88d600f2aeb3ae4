// Reading and writing exchange files of 10^4 to 10^6 entities, against the
// plain fscanf/fprintf version of the same format.
#include <benchmark/benchmark.h>

#include "bench/bench_files.hpp"
#include "bench/stdio_reference.hpp"
#include "entity/entity_file.hpp"

namespace {

template <bool (*Read)(const char*, EntityList&, int&)>
void read_benchmark(benchmark::State& state) {
    const int entities = static_cast<int>(state.range(0));
    const std::string path = generated_drawing_file(entities, entities / 100);
    for (auto _ : state) {
        EntityList list;
        int count = 0;
        Read(path.c_str(), list, count);
        benchmark::DoNotOptimize(list.records.data());
    }
    state.SetBytesProcessed(state.iterations() * file_size(path));
    state.SetItemsProcessed(state.iterations() * entities);
}

template <bool (*Write)(EntityList&, int, const char*)>
void write_benchmark(benchmark::State& state) {
    const int entities = static_cast<int>(state.range(0));
    const std::string input = generated_drawing_file(entities, entities / 100);
    EntityList list;
    int count = 0;
    read_entity_file(input.c_str(), list, count);
    const std::string output = temporary_path("written.fad");
    for (auto _ : state) {
        Write(list, count, output.c_str());
    }
    state.SetBytesProcessed(state.iterations() * file_size(output));
    state.SetItemsProcessed(state.iterations() * entities);
}

void BM_Read(benchmark::State& state) {
    read_benchmark<read_entity_file>(state);
}
void BM_ReadStdio(benchmark::State& state) {
    read_benchmark<read_entity_file_stdio>(state);
}
void BM_Write(benchmark::State& state) {
    write_benchmark<write_entity_file>(state);
}
void BM_WriteStdio(benchmark::State& state) {
    write_benchmark<write_entity_file_stdio>(state);
}

}  // namespace

BENCHMARK(BM_Read)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStdio)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteStdio)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
