#!/bin/bash
# Stations finding each other: 30 widget-free finders on loopback (one
# process), then the real program's user-interface lateness while a class
# searches, while a flood of questions and junk arrives, and while it
# searches itself. Figures only; nothing here is a pass/fail test.
# Usage: bench/finder/run.sh [build-dir] [seconds per phase]
set -euo pipefail
BUILD=${1:-build}
PHASE=${2:-15}
HERE=$(cd "$(dirname "$0")" && pwd)
cmake --build "$BUILD" --target bench_finder lk72 lk72-lamp >/dev/null
"$BUILD/bin/bench_finder" 30 5
exec timeout 300 python3 "$HERE/uiload.py" "$BUILD/bin" --seconds "$PHASE"
