#!/usr/bin/env bash
# Builds holechart and runs it on the example drawing in a fresh temporary
# drive folder, as the CAD front end would, then says where the result is.
# Also draws the drawing with its chart as an SVG picture beside the result.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/prerequisites.sh cmake g++ make
# A build folder of its own: this one needs no test framework, and it must
# not switch the tests off in the folder the test script uses.
cmake -S . -B build-example -DCMAKE_BUILD_TYPE=Release -DHOLECHART_BUILD_TESTS=OFF >/dev/null
cmake --build build-example --parallel --target holechart info_msgbox fad2svg

example=examples/plate
drive=$(mktemp -d "${TMPDIR:-/tmp}/holechart-example.XXXXXX")
bash scripts/setup-drive.sh "$drive" build-example
cp "$example/Object.fad" "$example/infoHoleTable.dat" "$drive/ZEP/work/"
read -r -a numbers < "$example/arguments.txt"

echo "Running: HOLECHART_DRIVE_C=$drive build-example/driver/holechart ${numbers[*]}"
HOLECHART_DRIVE_C="$drive" build-example/driver/holechart "${numbers[@]}"

result="$drive/ZEP/work/ResultDR.fad"
if [ -f "$result" ]; then
    echo "Hole chart written: $result ($(wc -l < "$result") entities)"
else
    echo "No result file was written (see any message above)."
fi

picture="$drive/ZEP/work/plate.svg"
inputs=("$drive/ZEP/work/Object.fad")
if [ -f "$result" ]; then
    inputs+=("$result")
fi
if build-example/tools/fad2svg "${inputs[@]}" -o "$picture"; then
    echo "Picture of the drawing and its chart: $picture"
fi
