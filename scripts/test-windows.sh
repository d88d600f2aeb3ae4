#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh) and runs the Windows
# test program under Wine, in a fresh, throw-away Wine prefix: its drive C:
# is a temporary folder, where the tests run the tool in C:\ZEP\work\ and
# C:\ZEP\Link\ as the front end does. Without a display, as in CI, message
# boxes fall back to the console.
# Usage: test-windows.sh [BUILD_DIR]   (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}

bash scripts/prerequisites.sh wine wine64
bash scripts/build-windows.sh "$build" >/dev/null

prefix=$(mktemp -d "${TMPDIR:-/tmp}/holechart-wine.XXXXXX")
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: the tests need neither, and installing them would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
export HOLECHART_NO_DESKTOP=1
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
}
trap cleanup EXIT

# Wine's own notes about the new prefix go to standard error; the test
# program's output is what counts.
wineboot --init >/dev/null 2>&1 || true
wine "$build/tests/holechart_windows_tests.exe" "$@"
