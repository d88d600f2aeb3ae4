#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a fixed time.
# Usage: run-fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 60 s, all)
# The working corpus lives in build-fuzz/corpus/<target>, seeded from
# tests/fuzz/corpus/<target>; crash inputs land in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_entity_reader fuzz_settings fuzz_position_keys fuzz_whole_run)

bash scripts/prerequisites.sh cmake make clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOLECHART_FUZZ=ON \
      -DHOLECHART_BUILD_TESTS=OFF -DHOLECHART_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

mkdir -p build-fuzz/crashes
status=0
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    log=build-fuzz/$target.log
    echo "== $target for ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=1 "build-fuzz/tests/fuzz/$target" "$corpus" "tests/fuzz/corpus/$target" \
            -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
            -artifact_prefix=build-fuzz/crashes/"$target"- -print_final_stats=1 >"$log" 2>&1; then
        echo "$target FAILED; see $log and build-fuzz/crashes/" >&2
        tail -40 "$log" >&2
        status=1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" | sed "s/^/  /"
done
exit $status
