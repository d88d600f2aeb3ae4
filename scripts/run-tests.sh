#!/usr/bin/env bash
# Builds everything with warnings as errors and runs the whole test suite,
# then builds and runs it once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, cross-builds the Windows programs and tests
# them under Wine, and runs each fuzz target for a minute.
# Fails on any failure, sanitizer report or fuzzer finding.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/prerequisites.sh cmake g++ make libgtest-dev libbenchmark-dev python3 \
    clang libclang-rt-14-dev python3-ezdxf
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DHOLECHART_WERROR=ON -DHOLECHART_BUILD_TESTS=ON \
      -DHOLECHART_BUILD_BENCH=ON >/dev/null
cmake --build build --parallel "$jobs"
ctest --test-dir build --output-on-failure --parallel "$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOLECHART_WERROR=ON \
      -DHOLECHART_SANITIZE=ON -DHOLECHART_BUILD_TESTS=ON -DHOLECHART_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure --parallel "$jobs"

# The Windows programs, cross-built and tested under Wine.
bash scripts/test-windows.sh

# Each fuzz target for a short, bounded time under both sanitizers.
bash scripts/run-fuzz.sh "${HOLECHART_FUZZ_SECONDS:-60}"
echo "All tests passed, sanitizers and fuzzing included."
