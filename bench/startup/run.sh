#!/bin/bash
# Start-up benchmark: time from process start until the main window is mapped,
# and the program's peak resident memory, under a private Xvfb display.
# Usage: bench/startup/run.sh [build-dir] [runs]
set -euo pipefail
unset QT_QPA_PLATFORM   # a real window on the private display
BUILD=${1:-build}
RUNS=${2:-5}
BIN="$BUILD/bin/lk72"
[ -x "$BIN" ] || { echo "no program at $BIN (build first)"; exit 1; }

DISPLAY_NUM=:$((90 + RANDOM % 50))
Xvfb "$DISPLAY_NUM" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null || true' EXIT
export DISPLAY=$DISPLAY_NUM
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

HOME_DIR=$(mktemp -d)
for i in $(seq "$RUNS"); do
  start=$(date +%s.%N)
  HOME=$HOME_DIR /usr/bin/time -f "%M" -o "$HOME_DIR/rss" "$BIN" >/dev/null 2>&1 &
  pid=$!
  # The window is named after the program; wait until it is mapped.
  until xdotool search --onlyvisible --name '^LK-72$' >/dev/null 2>&1; do sleep 0.005; done
  shown=$(date +%s.%N)
  sleep 1.5   # let the splash go and the first page settle before measuring memory
  # Ending the program by a signal still lets time(1) report its peak.
  pkill -TERM -P "$pid" || true
  wait "$pid" || true
  printf 'run %d: shown after %.3f s, peak RSS %d MB\n' "$i" "$(echo "$shown - $start" | bc)" "$(( $(tail -1 "$HOME_DIR/rss") / 1024 ))"
done
rm -rf "$HOME_DIR"
