#!/bin/sh
# Builds and runs every test. Screen tests use Qt's offscreen platform; the
# end-to-end tests start their own Xvfb. Then the sanitizer build runs the
# unit and screen tests again, and every fuzz target runs for 20 seconds.
set -e
cd "$(dirname "$0")/.."
sh scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 900)
sh scripts/test-sanitizers.sh
bash fuzz/run.sh 20
