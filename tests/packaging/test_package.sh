#!/bin/bash
# Builds the .deb, checks what it holds, unpacks it into a temporary root and
# starts the unpacked program under Xvfb: its window must appear with no box
# beside it, so the program finds its data beside its real location.
set -euo pipefail
BUILD=$1
WORK=$(mktemp -d)
trap 'kill ${APP:-} ${XVFB:-} 2>/dev/null || true; rm -rf "$WORK"' EXIT

(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1) || { cat "$WORK/cpack.log"; exit 1; }
DEB=$(ls "$WORK"/out/lk72_*_amd64.deb)
dpkg-deb -c "$DEB" >"$WORK/contents"
for path in ./usr/lib/lk72/lk72 ./usr/lib/lk72/lk72-lamp ./usr/bin/lk72 ./usr/bin/lk72-lamp \
            ./usr/share/applications/lk72.desktop ./usr/share/icons/hicolor/scalable/apps/lk72.svg \
            ./usr/share/metainfo/io.github.lk72.lk72.metainfo.xml ./usr/lib/lk72/Note.TTF; do
  grep -q " $path\( ->.*\)\?$" "$WORK/contents" || { echo "missing in the package: $path"; exit 1; }
done
grep -qi 'picture/panel/bg1.jpg$' "$WORK/contents" || { echo "missing in the package: the pictures"; exit 1; }
dpkg-deb -f "$DEB" Depends | grep -q fonts-noto-cjk || { echo "the package does not depend on the font"; exit 1; }
dpkg-deb -f "$DEB" Depends | grep -q qt6-translations-l10n || { echo "the package does not depend on Qt's translations"; exit 1; }

dpkg -x "$DEB" "$WORK/root"
unset QT_QPA_PLATFORM  # the unpacked program must show a real window
# A display number drawn from a wide range (one just given up by another run
# may still be held by its dying server); -displayfd tells when it is ready.
for _ in $(seq 20); do
  export DISPLAY=:$((1000 + RANDOM % 30000))
  : >"$WORK/ready"
  Xvfb "$DISPLAY" -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/ready" >/dev/null 2>&1 &
  XVFB=$!
  while kill -0 "$XVFB" 2>/dev/null && [ ! -s "$WORK/ready" ]; do sleep 0.05; done
  [ -s "$WORK/ready" ] && break
done
[ -s "$WORK/ready" ] || { echo "Xvfb did not start"; exit 1; }
mkdir -p "$WORK/home"
HOME="$WORK/home" "$WORK/root/usr/bin/lk72" >/dev/null 2>"$WORK/lk72.log" &
APP=$!
for _ in $(seq 1200); do
  xdotool search --onlyvisible --name '^LK-72$' >/dev/null 2>&1 && break
  kill -0 "$APP" 2>/dev/null || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^LK-72$' >/dev/null || {
  if kill -0 "$APP" 2>/dev/null; then status="still running after 60 s"
  else wait "$APP" && status="exit status 0" || status="exit status $?"; fi
  echo "the unpacked program showed no window ($status); its last lines:"
  tail -15 "$WORK/lk72.log"
  exit 1
}
sleep 1.5
# Qt keeps an unnamed leader window beside the real ones; count only named windows.
windows=0
for w in $(xdotool search --onlyvisible --pid "$APP" --name '.*'); do
  [ -n "$(xdotool getwindowname "$w")" ] && windows=$((windows + 1))
done
if [ "$windows" -ne 1 ]; then
  echo "the unpacked program opened $windows windows (a warning box?)"
  for w in $(xdotool search --onlyvisible --pid "$APP" --name '.*'); do xdotool getwindowname "$w"; done
  exit 1
fi
echo "package: 1 passed, 0 failed"
