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

# The IBIS-AMI kit: the IBIS file names the library and its parameter file, which the
# checker looks for beside it, so the three are put together in one folder.
kit="$out/kit"
rm -rf "$kit"
mkdir -p "$kit"
cp examples/quarnel_tx.ibs examples/quarnel_tx.ami build/lib/libquarnel.so "$kit/"
echo "== ibischeck on the example kit in $kit (quarnel_tx.ibs, quarnel_tx.ami, libquarnel.so)"
status=0
report=$(build/bin/ibischeck "$kit/quarnel_tx.ibs") || status=$?
echo "$report"
if [ "$status" -eq 0 ] && ! grep -q '^Warnings:' <<<"$report"; then
  echo "The example kit checks clean: 0 errors, 0 warnings."
else
  echo "The example kit does not check clean (ibischeck exit status $status)."
  exit 1
fi
