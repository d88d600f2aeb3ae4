#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64: statically linked
# holechart.exe, fad2svg.exe, holechart-table.exe, holechart-dxf.exe, the
# info_msgbox.exe stand-in and the Windows test program (GoogleTest built
# from Debian's sources).
# Usage: build-windows.sh [BUILD_DIR]   (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}

bash scripts/prerequisites.sh cmake make g++-mingw-w64-x86-64 googletest
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DHOLECHART_WERROR=ON -DHOLECHART_BUILD_TESTS=ON \
      -DHOLECHART_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$jobs"
echo "Windows programs in $build:"
find "$build" -maxdepth 3 -name '*.exe' -not -path '*/CMakeFiles/*' | sort
