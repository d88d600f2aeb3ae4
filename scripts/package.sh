#!/usr/bin/env bash
# Makes the packages of this version into OUTDIR and prints their paths:
#   holechart_<version>_<arch>.deb       the tool, fad2svg, the stand-in
#                                        message box, man pages, README
#   holechart-dxf_<version>_<arch>.deb   the DXF bridge
#   holechart-<version>-windows-x86_64.zip
#                                        the Windows programs, cross-built
#                                        by scripts/build-windows.sh
# Usage: package.sh OUTDIR
# The Debian packages are built in build-package, the Windows programs in
# build-windows (or in $HOLECHART_WINDOWS_BUILD, so as not to share that
# folder with someone else's Windows build). DEBEMAIL (and DEBFULLNAME) name
# the packages' maintainer when set.
set -euo pipefail
if [ $# -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi
mkdir -p "$1"
out=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."

# dpkg-dev and file: dpkg-shlibdeps works out the packages' Depends.
bash scripts/prerequisites.sh cmake g++ make dpkg-dev file
jobs=$(nproc 2>/dev/null || echo 2)

maintainer=()
if [ -n "${DEBEMAIL:-}" ]; then
    maintainer=(-DHOLECHART_MAINTAINER="${DEBFULLNAME:-holechart maintainers} <$DEBEMAIL>")
fi

# Takes the packages that cpack made in a build folder into OUTDIR.
packages=()
take_packages() {
    local folder=$1 pattern=$2 file
    for file in "$folder"/$pattern; do
        [ -e "$file" ] || continue
        mv -f "$file" "$out/"
        packages+=("$out/$(basename "$file")")
    done
}

echo "== Debian packages"
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DHOLECHART_WERROR=ON -DHOLECHART_BUILD_TESTS=OFF -DHOLECHART_BUILD_BENCH=OFF \
      "${maintainer[@]+"${maintainer[@]}"}" >/dev/null
cmake --build build-package --parallel "$jobs"
rm -f build-package/*.deb
(cd build-package && cpack -G DEB)
take_packages build-package "*.deb"

echo "== Windows zip"
windows=${HOLECHART_WINDOWS_BUILD:-build-windows}
windows_made=yes
if [ -f scripts/build-windows.sh ]; then
    bash scripts/build-windows.sh "$windows"
fi
if [ -f "$windows/CPackConfig.cmake" ]; then
    rm -f "$windows"/*.zip
    (cd "$windows" && cpack -G ZIP)
    take_packages "$windows" "*.zip"
else
    windows_made=no
    echo "no Windows build: scripts/build-windows.sh is missing and $windows" \
         "holds no configured Windows build" >&2
fi

echo
echo "Packages:"
printf '  %s\n' "${packages[@]}"
if [ "$windows_made" = no ]; then
    echo "  (no Windows zip)"
    exit 1
fi
