#!/usr/bin/env bash
# Runs the whole test suite under Valgrind's memcheck, following the
# end-to-end tests into every holechart process they start, so that the tool
# itself is checked the way the front end runs it, not only the code linked
# into the test binary.
#
#   bash scripts/run-valgrind.sh [test binary options, e.g. --gtest_filter=...]
#
# Builds in its own folder, build-valgrind (RelWithDebInfo, no sanitizers:
# the sanitizers' run-time and Valgrind do not mix). Every process writes
# its own log to build-valgrind/valgrind-logs/<pid>.log; the script fails
# when a test fails, or when the log of any program built here (the test
# binary, holechart, the companion tools) reports a memory error or a
# definite leak. Programs that are not ours are not traced where that can be
# avoided: the message box stand-ins and the Python that some tests use to
# check their output. The shells that start the tool must be traced, because
# Valgrind does not follow the children of a program it skips; their reports
# are shown but do not fail the run.
#
# Slow (a few minutes): every end-to-end run starts a shell and the tool
# under Valgrind. Not part of scripts/run-tests.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/prerequisites.sh valgrind cmake g++ make libgtest-dev
jobs=$(nproc 2>/dev/null || echo 2)

build="$root/build-valgrind"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOLECHART_WERROR=ON \
      -DHOLECHART_SANITIZE=OFF -DHOLECHART_BUILD_TESTS=ON -DHOLECHART_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$jobs" --target holechart_tests

logs="$build/valgrind-logs"
rm -rf "$logs"
mkdir -p "$logs"

started=$(date +%s)
set +e
# --error-exitcode applies in the traced children too: a memory error or a
# definite leak in the tool turns its exit code 0 into 1, which the
# end-to-end tests see. The log check below catches what an exit code
# cannot show, e.g. errors in a run whose exit code a test does not look at.
# --vgdb=no: no gdbserver files in /tmp, which matters for the test that
# runs the tool under a file size limit.
valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite \
         --error-exitcode=1 --trace-children=yes \
         --trace-children-skip='*/info_msgbox.exe,*/capture_msgbox,*python*,*/.pyenv/*' \
         --vgdb=no --log-file="$logs/%p.log" \
         "$build/tests/holechart_tests" "$@" 2>&1 | tee "$logs/tests.out"
tests_status=${PIPESTATUS[0]}
set -e
elapsed=$(($(date +%s) - started))

# One log per process. A log without an error summary belongs to a process
# that went on as another program: a shell that started a skipped message
# box stand-in, or a tool run under a file size limit that cut its log short
# (its exit code still tells the test about errors).
own=0
tool_processes=0
foreign=0
foreign_reports=0
incomplete=0
errors=0
leaking=0
leaked_bytes=0
failed_logs=()
for log in "$logs"/*.log; do
    [ -e "$log" ] || continue
    command_line=$(grep -m1 -o 'Command: .*' "$log" || true)
    program=${command_line#Command: }
    summary=$(grep -m1 -o 'ERROR SUMMARY: [0-9,]* errors' "$log" || true)
    if [ -z "$summary" ]; then
        incomplete=$((incomplete + 1))
        continue
    fi
    count=$(echo "$summary" | tr -dc '0-9')
    lost=$(grep -m1 -o 'definitely lost: [0-9,]* bytes' "$log" | tr -dc '0-9' || true)
    lost=${lost:-0}
    case "$program" in
        "$build/"*) ;;
        *)
            # A shell or another program that is not ours.
            foreign=$((foreign + 1))
            if [ "$count" -gt 0 ] || [ "$lost" -gt 0 ]; then
                foreign_reports=$((foreign_reports + 1))
            fi
            continue
            ;;
    esac
    own=$((own + 1))
    case "$program" in
        "$build/driver/holechart"*) tool_processes=$((tool_processes + 1)) ;;
    esac
    errors=$((errors + count))
    if [ "$lost" -gt 0 ]; then
        leaking=$((leaking + 1))
        leaked_bytes=$((leaked_bytes + lost))
    fi
    if [ "$count" -gt 0 ] || [ "$lost" -gt 0 ]; then
        failed_logs+=("$log: $program")
    fi
done

ran=$(grep -m1 -o '\[==========\] [0-9]* tests\? from' "$logs/tests.out" | tr -dc '0-9' || true)
passed=$(grep -m1 -o '\[  PASSED  \] [0-9]* test' "$logs/tests.out" | tr -dc '0-9' || true)
failed=$(grep -m1 -o '\[  FAILED  \] [0-9]* test' "$logs/tests.out" | tr -dc '0-9' || true)

echo
echo "Valgrind summary (${elapsed} s)"
echo "  tests run:            ${ran:-0} (passed ${passed:-0}, failed ${failed:-0})"
echo "  processes checked:    $own of ours ($tool_processes holechart)," \
     "$foreign shells and others ($foreign_reports with reports, not counted)"
echo "  logs without summary: $incomplete (processes that went on as an untraced program)"
echo "  memory errors:        $errors (definite leaks included)"
echo "  definite leaks:       $leaking processes, $leaked_bytes bytes"
echo "  logs:                 $logs"
for entry in "${failed_logs[@]+"${failed_logs[@]}"}"; do
    echo "  reported by: $entry"
done

if [ "$tests_status" -ne 0 ] || [ "$errors" -gt 0 ] || [ "$leaking" -gt 0 ]; then
    echo "FAILED: test failures or memcheck reports (exit status of the test run: $tests_status)."
    exit 1
fi
echo "No memory errors and no definite leaks."
