#!/bin/bash
# The teacher's station with a class of 40 on loopback: how long the list,
# a program to everyone and a collection take, and how late a 100 ms timer
# of the teacher's window runs meanwhile. Figures only, no pass/fail.
# Usage: bench/teacher/run.sh [build-dir] [stations] [rounds]
set -euo pipefail
BUILD=${1:-build}
cmake --build "$BUILD" --target bench_teacher >/dev/null
QT_QPA_PLATFORM=offscreen "$BUILD/bin/bench_teacher" "${2:-40}" "${3:-5}"
