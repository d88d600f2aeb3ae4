#!/usr/bin/env bash
# Builds holechart and runs it on the example drawing in a fresh temporary
# drive folder, as the CAD front end would, then says where the result is.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/prerequisites.sh cmake g++ make
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DHOLECHART_BUILD_TESTS=OFF >/dev/null
cmake --build build --parallel --target holechart info_msgbox

example=examples/plate
drive=$(mktemp -d "${TMPDIR:-/tmp}/holechart-example.XXXXXX")
bash scripts/setup-drive.sh "$drive" build
cp "$example/Object.fad" "$example/infoHoleTable.dat" "$drive/ZEP/work/"
read -r -a numbers < "$example/arguments.txt"

echo "Running: HOLECHART_DRIVE_C=$drive build/driver/holechart ${numbers[*]}"
HOLECHART_DRIVE_C="$drive" build/driver/holechart "${numbers[@]}"

result="$drive/ZEP/work/ResultDR.fad"
if [ -f "$result" ]; then
    echo "Hole chart written: $result ($(wc -l < "$result") entities)"
else
    echo "No result file was written (see any message above)."
fi
