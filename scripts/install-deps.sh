#!/bin/sh
# Installs the Debian 12 packages needed to build, run and test the program.
set -e
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
PACKAGES="g++ cmake ninja-build pkg-config git \
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libgl-dev \
  fonts-noto-cjk qt6-translations-l10n python3 python3-fonttools \
  clang-14 libclang-rt-14-dev \
  libxcb1-dev xvfb x11-utils xdotool imagemagick poppler-utils dpkg-dev file"
missing=""
for p in $PACKAGES; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
