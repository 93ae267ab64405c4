#!/bin/bash
# Start-up benchmark. Builds the program and a bare Qt Widgets window of the
# same size with one line of Japanese, then starts them alternately on one
# private Xvfb display: the time from process start until the window is
# mapped, and the peak resident memory (/usr/bin/time -f %M). Prints both
# medians and ranges and the program's ratios to the bare window; then the
# time from F8 until the next lesson page is painted, as the program notes it
# under LK72_TRACE_START.
# Usage: bench/startup/run.sh [build-dir] [runs]
# LK72_BENCH_PROGRAM=path measures another build of the program instead.
set -euo pipefail
unset QT_QPA_PLATFORM   # real windows on the private display
BUILD=${1:-build}
RUNS=${2:-7}
SETTLE=1.5              # the splash goes and the first page settles before the end

cmake --build "$BUILD" --target bench_startup -j2 >/dev/null
PROGRAM=${LK72_BENCH_PROGRAM:-$BUILD/bin/lk72}
BARE="$BUILD/bin/bench_bare_window"
WAIT="$BUILD/bin/bench_map_wait"

DISPLAY_NUM=:$((90 + RANDOM % 50))
Xvfb "$DISPLAY_NUM" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
WORK=$(mktemp -d)
trap 'kill $XVFB 2>/dev/null || true; rm -rf "$WORK"' EXIT
export DISPLAY=$DISPLAY_NUM
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# Both share one private home, so the font caches and the like are alike.
export HOME=$WORK/home
mkdir -p "$HOME"

# One start: "SECONDS KB" on stdout. $1 is the window title, the rest the command.
measure() {
  local title=$1; shift
  rm -f "$WORK/rss"
  local started pid secs
  started=$("$WAIT" "$title" /usr/bin/time -f %M -o "$WORK/rss" "$@" 2>>"$WORK/stderr") || { echo "no window \"$title\"" >&2; exit 1; }
  read -r pid secs <<<"$started"
  sleep "$SETTLE"
  # Ending the program by a signal still lets time(1) report its peak.
  pkill -TERM -P "$pid" || true
  while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
  echo "$secs $(tail -1 "$WORK/rss")"
}

stats() {  # a column of numbers: median, low, high
  sort -g | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m, v[1], v[NR] }'
}

# A first start of each fills the caches; it is not counted.
measure bare-window "$BARE" >/dev/null
measure LK-72 "$PROGRAM" >/dev/null
: >"$WORK/bare"; : >"$WORK/lk72"
for i in $(seq "$RUNS"); do
  read -r bs bk <<<"$(measure bare-window "$BARE")"
  read -r ls lk <<<"$(measure LK-72 "$PROGRAM")"
  echo "$bs $bk" >>"$WORK/bare"; echo "$ls $lk" >>"$WORK/lk72"
  printf 'run %d: bare %.3f s %d MB   LK-72 %.3f s %d MB\n' "$i" "$bs" $((bk / 1024)) "$ls" $((lk / 1024))
done

read -r bt btl bth <<<"$(cut -d' ' -f1 "$WORK/bare" | stats)"
read -r bm bml bmh <<<"$(cut -d' ' -f2 "$WORK/bare" | stats)"
read -r lt ltl lth <<<"$(cut -d' ' -f1 "$WORK/lk72" | stats)"
read -r lm lml lmh <<<"$(cut -d' ' -f2 "$WORK/lk72" | stats)"
printf 'bare window: median %.3f s (%.3f-%.3f), %.1f MB (%.1f-%.1f)\n' "$bt" "$btl" "$bth" \
  "$(bc -l <<<"$bm/1024")" "$(bc -l <<<"$bml/1024")" "$(bc -l <<<"$bmh/1024")"
printf 'LK-72:       median %.3f s (%.3f-%.3f), %.1f MB (%.1f-%.1f)\n' "$lt" "$ltl" "$lth" \
  "$(bc -l <<<"$lm/1024")" "$(bc -l <<<"$lml/1024")" "$(bc -l <<<"$lmh/1024")"
printf 'ratios: time %.2f, memory %.2f\n' "$(bc -l <<<"$lt/$bt")" "$(bc -l <<<"$lm/$bm")"

# Page changes: F8 through the ten lessons, the program noting each.
started=$(LK72_TRACE_START=1 "$WAIT" LK-72 "$PROGRAM" 2>"$WORK/trace") || { echo "no window LK-72" >&2; exit 1; }
read -r pid _ <<<"$started"
sleep "$SETTLE"
window=$(xdotool search --onlyvisible --name '^LK-72$' | head -1)
for _ in $(seq 9); do
  xdotool key --window "$window" F8 2>/dev/null
  sleep 0.5
done
kill -TERM "$pid" 2>/dev/null || true
if grep -q 'page-shown' "$WORK/trace"; then
  grep 'page-shown' "$WORK/trace" | sed 's/^.*page-shown/page shown/'
  read -r pm pl ph <<<"$(grep 'page-shown' "$WORK/trace" | sed 's/.*ms=//' | stats)"
  printf 'page change after F8: median %s ms (%s-%s)\n' "$pm" "$pl" "$ph"
else
  echo "page change after F8: the program notes none (built without LK72_TRACE_START)"
fi
