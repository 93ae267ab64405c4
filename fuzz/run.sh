#!/bin/bash
# Builds every fuzz target and runs each for SECONDS (default 20) on its seed
# corpus; fails when any target finds a crash or a broken invariant.
set -euo pipefail
SECONDS_EACH=${1:-20}
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=${FUZZ_BUILD:-$HERE/../build-fuzz}
cmake -S "$HERE" -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=$(cd "$HERE" && ls fuzz_*.cmake | sed 's/\.cmake$//')
cmake --build "$BUILD" -j"$(nproc)" --target $targets
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
passed=0; failed=0
for t in $targets; do
  name=${t#fuzz_}
  work=$(mktemp -d)
  cp -r "$HERE/corpus/$name/." "$work/" 2>/dev/null || true
  if "$BUILD/$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
       -artifact_prefix="$BUILD/$t-" "$work" >"$BUILD/$t.log" 2>&1; then
    passed=$((passed + 1))
    echo "$t: $(grep -E 'stat::number_of_executed_units' "$BUILD/$t.log" | awk '{print $2}') runs, $(grep -oE 'cov: [0-9]+' "$BUILD/$t.log" | tail -1)"
  else
    failed=$((failed + 1))
    echo "$t: FOUND A FAULT"; tail -40 "$BUILD/$t.log"
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
