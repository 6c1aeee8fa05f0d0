#!/usr/bin/env bash
# Builds the project and runs the main job on the bundled example data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
echo "== building (log in build/build.log)"
cmake --build build -j "$(nproc)" >build/build.log 2>&1 || { tail -n 40 build/build.log; exit 1; }

# The transmitter model, loaded with dlopen as a simulator would, on the bundled channel.
out=build/example
mkdir -p "$out"
echo "== quarnel-run on examples/channel.csv with $(cat examples/quarnel.params)"
build/bin/quarnel-run --params-file examples/quarnel.params --bit-time 160e-12 \
  --output "$out/processed.csv" --pulse "$out/pulse.csv" examples/channel.csv
echo "Processed impulse responses, every 20th row of the first nanosecond ($out/processed.csv):"
awk -F, 'NR == 1 { printf "%12s %14s %14s\n", $1, $2, $3; next }
         NR <= 202 && (NR - 2) % 20 == 0 { printf "%12.4g %14.6g %14.6g\n", $1, $2, $3 }' \
  "$out/processed.csv"

# The IBIS checker on a bundled IBIS file; findings are shown, not fatal to the script.
echo "== ibischeck on examples/quarnel_tx.ibs"
build/bin/ibischeck examples/quarnel_tx.ibs || echo "(ibischeck exit status $?)"
