#!/bin/bash
# Network load benchmark on loopback: one real station under 200 connections
# and about 10,000 messages; prints messages handled, worst UI lateness and
# peak memory, and fails when a correctness check does not hold.
# Usage: bench/netload/run.sh [build-dir] [seconds]
set -euo pipefail
BUILD=${1:-build}
SECONDS_OF_LOAD=${2:-60}
HERE=$(cd "$(dirname "$0")" && pwd)
[ -x "$BUILD/bin/lk72" ] && [ -x "$BUILD/bin/lk72-lamp" ] || { echo "no program in $BUILD/bin (build lk72 and lk72-lamp first)"; exit 1; }
exec timeout 170 python3 "$HERE/netload.py" "$BUILD/bin" --seconds "$SECONDS_OF_LOAD" --scale 1
