#!/bin/sh
# Builds and runs every test. Screen tests use Qt's offscreen platform; the
# end-to-end tests start their own Xvfb.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 900
