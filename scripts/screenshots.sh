#!/bin/sh
# Takes a picture of each lesson page and of the settings screen of the built
# program under a private Xvfb display, for the README (docs/screenshots/).
# Usage: sh scripts/screenshots.sh [build-dir]
set -eu
BUILD=${1:-build}
OUT=docs/screenshots
BIN="$BUILD/bin/lk72"
[ -x "$BIN" ] || { echo "no program at $BIN (build first: sh scripts/build.sh)"; exit 1; }
unset QT_QPA_PLATFORM
mkdir -p "$OUT"
DISPLAY_NUM=":$(( 1500 + $$ % 400 ))"
HOME_DIR=$(mktemp -d)
Xvfb "$DISPLAY_NUM" -screen 0 1700x1200x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill $APP 2>/dev/null || true; kill $XVFB 2>/dev/null || true; rm -rf "$HOME_DIR"' EXIT
APP=
export DISPLAY="$DISPLAY_NUM"
i=0
until xdpyinfo >/dev/null 2>&1; do i=$((i + 1)); [ $i -lt 100 ] || exit 1; sleep 0.1; done

# start [scale]: runs the program (at a desktop scale of `scale`, default 1)
# with its main window at the top left corner.
start() {
  HOME=$HOME_DIR LANG=C.UTF-8 QT_SCALE_FACTOR=${1:-1} "$BIN" >/dev/null 2>&1 &
  APP=$!
  i=0
  until WID=$(xdotool search --onlyvisible --name '^LK-72$' 2>/dev/null | head -1) && [ -n "$WID" ]; do
    i=$((i + 1)); [ $i -lt 200 ] || { echo "the main window did not appear"; exit 1; }; sleep 0.05
  done
  sleep 1.5
  xdotool windowmove --sync "$WID" 0 0 2>/dev/null || true
  xdotool windowactivate --sync "$WID" 2>/dev/null || true
  sleep 0.3
}
start
# Page coordinates: the page host sits at (30, 70) of the window at (0, 0).
click() { xdotool mousemove --sync $((30 + $1)) $((70 + $2)) click 1; sleep "${3:-0.8}"; }
drag() {
  xdotool mousemove --sync $((30 + $1)) $((70 + $2)) mousedown 1; sleep 0.05
  for k in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove --sync $((30 + $1 + ($3 - $1) * k / 10)) $((70 + $2 + ($4 - $2) * k / 10)); sleep 0.02
  done
  xdotool mouseup 1; sleep 0.3
}
# STEP3 with a program of red and blue, its preview while it plays and its report.
step3_pictures() {
  drag 49 110 231 122
  drag 49 161 331 122
  import -window "$WID" "$OUT/step3-program.png"
  click 365 33
  click 553 99 1.9
  import -window "$WID" "$OUT/preview.png"
  sleep 3
  click 235 345
  click 653 33 1.2
  import -window "$WID" "$OUT/report.png"
  click 653 49
}
for step in 1 2 3 4 5 6 7 8 9 10; do
  import -window "$WID" "$OUT/step$step.png"
  [ "$step" -ne 3 ] || step3_pictures
  xdotool key --window "$WID" F8 2>/dev/null
  sleep 0.8
done
# The settings screen over STEP10, opened by its button at (575, 20).
xdotool mousemove --sync 575 20 click 1
sleep 1
# The dialog stands centred on the screen.
import -window root -gravity center -crop 398x299+0+0 +repage "$OUT/settings.png"
# The same program on a 200 % desktop: every picture at twice its pixels.
kill $APP; wait $APP 2>/dev/null || true
# A killed program leaves its work kept, and the next start would ask to
# bring it back over the page; this start is a fresh one.
find "$HOME_DIR" -type d -name LK-72Temp -prune -exec rm -rf {} +
start 2
import -window "$WID" "$OUT/step1-200.png"
echo "screenshots written to $OUT"
# The teacher's view with a class of three: the end-to-end run of the
# teacher's station takes it once the list is full and a program is sent.
LK72_SCREENSHOT_DIR="$PWD/$OUT" PYTHONPATH=tests/e2e python3 tests/e2e/e2e_teacher.py "$BUILD/bin" >/dev/null
echo "teacher's view written to $OUT/teacher.png"
