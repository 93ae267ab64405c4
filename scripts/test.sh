#!/bin/sh
# Builds and runs every test. Screen tests use Qt's offscreen platform; the
# end-to-end tests start their own Xvfb. Then the sanitizer build runs the
# unit and screen tests again, and every fuzz target runs for 20 seconds.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
# The sanitizer build compiles meanwhile: the end-to-end tests mostly wait on
# the program and leave the cores idle. It runs in a process group of its own
# (setsid), so that a failing step ends all of it, compiler and linker too.
setsid sh scripts/test-sanitizers.sh build >build-asan.log 2>&1 &
asan=$!
trap 'kill -TERM -- "-$asan" 2>/dev/null || true' EXIT
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j3 --timeout 900)
wait "$asan" || { tail -40 build-asan.log; exit 1; }
trap - EXIT
sh scripts/test-sanitizers.sh test
bash fuzz/run.sh 20
