#!/usr/bin/env bash
# Builds the Windows programs (scripts/build-windows.sh) and runs the Windows
# test program under Wine, in a fresh, throw-away Wine prefix: its drive C:
# is a temporary folder, where the tests run the tool in C:\ZEP\work\ and
# C:\ZEP\Link\ as the front end does, and the companions in a user's folder
# with a name outside ASCII; then each program of the zip's tree runs once.
# Without a display, as in CI, message boxes fall back to the console.
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

# What the zip holds, from the same install rules that cpack follows: every
# program runs from it and names the project's version.
installed="$prefix/installed"
cmake --install "$build" --prefix "$installed" >/dev/null
version=$(sed -n 's/^project(holechart VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for program in holechart fad2svg holechart-table holechart-dxf; do
    line=$(wine "$installed/bin/$program.exe" --version | tr -d '\r')
    if [ "$line" != "$program $version" ]; then
        echo "error: the zip's $program.exe says '$line', not '$program $version'" >&2
        exit 1
    fi
done
[ -f "$installed/README-Windows.txt" ] || { echo "error: no README-Windows.txt" >&2; exit 1; }
echo "The zip's programs run: holechart, fad2svg, holechart-table, holechart-dxf $version"
