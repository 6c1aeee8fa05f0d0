#!/usr/bin/env bash
# Builds the project and runs every test: an optimised build, then the same tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, the thread test under ThreadSanitizer, and
# each fuzz target for a bounded time when clang's libFuzzer is available.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-20}

scripts/setup.sh

echo "== formatting"
scripts/check-format.sh

echo "== optimised build (build/)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer (build/asan/)"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARNEL_SANITIZE=address -DQUARNEL_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== ThreadSanitizer (build/tsan/)"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARNEL_SANITIZE=thread -DQUARNEL_BENCH=OFF >/dev/null
cmake --build build/tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/tsan --output-on-failure -L thread

if command -v clang++ >/dev/null && [ -n "$(ls fuzz/*.cpp 2>/dev/null)" ]; then
  echo "== libFuzzer targets, ${fuzz_seconds}s each (build/fuzz/)"
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUARNEL_FUZZ=ON >/dev/null
  cmake --build build/fuzz -j "$jobs"
  for target in build/fuzz/bin/fuzz_*; do
    name=$(basename "$target")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    seeds=fuzz/seeds/${name#fuzz_}
    [ -d "$seeds" ] || seeds=
    echo "-- $name"
    "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=0 "$corpus" $seeds 2>&1 | tail -n 3
  done
fi
echo "All test stages passed."
