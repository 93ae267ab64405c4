#!/bin/bash
# Installs the .deb on a bare Debian 12 made for the purpose (debootstrap into
# a temporary folder) the way a school would, with `apt install ./lk72_….deb`,
# then starts the installed program under Xvfb inside it: the dependencies the
# package declares must be all it needs. Needs root and the Debian mirror this
# machine's own apt sources name (or MIRROR=... to choose another).
# Usage: bash packaging/test-bare-install.sh [build-dir]
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
# The first Debian archive (not its security suite) of the machine's own
# sources, in either the one-line or the deb822 form.
machine_mirror() {
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
    awk '/^[[:space:]]*deb[[:space:]]/ { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; next } }
         /^[[:space:]]*URIs:/ { for (i = 2; i <= NF; i++) print $i }' |
    grep -v -e '-security' -e '^cdrom:' | head -1
}
MIRROR=${MIRROR:-$(machine_mirror)}
[ -n "$MIRROR" ] || { echo "no Debian mirror in this machine's apt sources; set MIRROR=..."; exit 1; }
ROOT=$(mktemp -d /tmp/lk72-bare.XXXXXX)
cleanup() {
  for m in dev/pts dev proc; do umount "$ROOT/$m" 2>/dev/null || true; done
  rm -rf --one-file-system "$ROOT"
}
trap cleanup EXIT

command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
(cd "$BUILD" && cpack -G DEB -B "$ROOT.out" >/dev/null)
DEB=$(ls "$ROOT".out/lk72_*_amd64.deb)
echo "package: $(basename "$DEB") ($(du -k "$DEB" | cut -f1) KiB)"

debootstrap --variant=minbase bookworm "$ROOT" "$MIRROR" >"$ROOT.debootstrap.log" 2>&1 \
  || { tail -20 "$ROOT.debootstrap.log"; exit 1; }
mount -t proc proc "$ROOT/proc"
mount --bind /dev "$ROOT/dev"
mount --bind /dev/pts "$ROOT/dev/pts"
cp "$DEB" "$ROOT/tmp/"
in_root() { chroot "$ROOT" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

in_root apt-get update -q >/dev/null
echo "bare system: $(in_root dpkg-query -f '.\n' -W | wc -l) packages"
in_root apt-get install -y -q "/tmp/$(basename "$DEB")" >"$ROOT.install.log" 2>&1 \
  || { tail -30 "$ROOT.install.log"; exit 1; }
echo "after apt install: $(in_root dpkg-query -f '.\n' -W | wc -l) packages"
in_root test -x /usr/bin/lk72
in_root test -f /usr/share/applications/lk72.desktop
exec_line=$(in_root grep '^Exec=' /usr/share/applications/lk72.desktop)
echo "desktop entry: $exec_line"

# Only to look at the window: an X server and the tools to find it.
in_root apt-get install -y -q --no-install-recommends xvfb x11-utils xdotool >/dev/null 2>&1
cat >"$ROOT/tmp/start.sh" <<'INNER'
set -eu
export DISPLAY=:77 HOME=/tmp/pupil LANG=C.UTF-8
mkdir -p "$HOME"
Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
${EXEC#Exec=} >/tmp/lk72.log 2>&1 &
APP=$!
for _ in $(seq 300); do xdotool search --onlyvisible --name '^LK-72$' >/dev/null 2>&1 && break; sleep 0.05; done
sleep 1.5
named=0
for w in $(xdotool search --onlyvisible --pid "$APP" --name '.*' 2>/dev/null); do
  [ -n "$(xdotool getwindowname "$w")" ] && named=$((named + 1))
done
kill $APP 2>/dev/null || true
# The chroot shares the machine's processes: end our own X server only.
kill $XVFB 2>/dev/null || true
[ "$named" -eq 1 ] || { echo "windows: $named (none, or a warning box beside the main window)"; cat /tmp/lk72.log; exit 1; }
echo "the installed program showed its window and no box"
INNER
in_root env EXEC="$exec_line" sh /tmp/start.sh
echo "bare install: 1 passed, 0 failed"
rm -rf "$ROOT.out" "$ROOT".*.log
