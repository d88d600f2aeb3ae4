#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a fixed time, one after the
# other on one core.
# Usage: run-fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 60 s, all)
# The working corpus lives in build-fuzz/corpus/<target>, seeded from
# tests/fuzz/corpus/<target>; crash inputs land in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Every target, one a line.
all_targets=(
    fuzz_entity_reader
    fuzz_settings
    fuzz_position_keys
    fuzz_whole_run
    fuzz_fad2svg
    fuzz_holechart_dxf
)

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

bash scripts/prerequisites.sh cmake make clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOLECHART_FUZZ=ON \
      -DHOLECHART_BUILD_TESTS=OFF -DHOLECHART_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

# Inputs are short (up to 4 KiB): the readers' chunk ends are put inside
# them by the targets themselves. A 16 MiB quarantine of freed memory still
# holds far more than one input allocates, so a use after free within an
# input is caught, and memory is reused while it is still mapped.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16
mkdir -p build-fuzz/crashes
status=0
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    seeds=tests/fuzz/corpus/$target
    mkdir -p "$corpus"
    [ -d "$seeds" ] || seeds=
    log=build-fuzz/$target.log
    echo "== $target for ${seconds}s"
    if ! "build-fuzz/tests/fuzz/$target" "$corpus" $seeds \
            -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
            -artifact_prefix=build-fuzz/crashes/"$target"- -print_final_stats=1 >"$log" 2>&1; then
        echo "$target FAILED; see $log and build-fuzz/crashes/" >&2
        tail -40 "$log" >&2
        status=1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" | sed "s/^/  /"
done
exit $status
