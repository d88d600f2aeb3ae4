#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all: exchange file reading
# and writing (against plain fscanf/fprintf), hole ordering and grouping, and
# the whole tool on generated drawings (wall time and peak memory).
# Extra arguments go to every benchmark program, e.g. --benchmark_filter=Read.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/prerequisites.sh cmake g++ make libbenchmark-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DHOLECHART_BUILD_TESTS=OFF \
      -DHOLECHART_BUILD_BENCH=ON >/dev/null
cmake --build build-bench --parallel

for program in exchange_io_bench hole_order_bench whole_run_bench; do
    echo "== $program"
    "build-bench/bench/$program" "$@"
done
