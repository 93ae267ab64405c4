#!/bin/sh
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs the unit and screen tests there.
# Usage: test-sanitizers.sh [build|test]   (both when not named)
set -e
cd "$(dirname "$0")/.."
step=${1:-all}
if [ "$step" != test ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
  cmake --build build-asan -j"$(nproc)"
fi
[ "$step" = build ] && exit 0
cd build-asan
# Leaks are checked by the fuzzers' runs; here Qt's process-lifetime caches
# (fonts, the offscreen platform) would report as leaks at exit.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:suppressions=$(pwd)/../scripts/ubsan.supp
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 900 -E '^(test_package|e2e_)'
