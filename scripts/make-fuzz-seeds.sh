#!/usr/bin/env bash
# Regenerates the generated seeds in tests/fuzz/corpus/ from the drawing
# generator of the benchmarks, the example plate and the exchange files of
# the DXF tests (tests/fuzz/make_seeds.cpp says which). The hand-made seeds
# beside them stay. Builds in build-fuzz, as scripts/run-fuzz.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/prerequisites.sh cmake make clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOLECHART_FUZZ=ON \
      -DHOLECHART_BUILD_TESTS=OFF -DHOLECHART_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel 2 --target fuzz_seeds
build-fuzz/tests/fuzz/fuzz_seeds
for d in tests/fuzz/corpus/*/; do echo "$(basename "$d"): $(ls "$d" | wc -l) seeds"; done
