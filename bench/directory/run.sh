#!/usr/bin/env bash
# The examinee directory on 100,000 examinees: opening it until its grid has painted the first
# screen, and a last-name look-up until the grid holds its first screen of rows, each against a
# bare QSqlQuery in the same run. Run from anywhere: bench/directory/run.sh [examinees] [rounds] [grab.png]
# With a PNG path, the window is also saved as a picture (all examinees, then a last name chosen).
# Prints a table in the form of bench/RESULTS.md; its last line says whether the goals are met.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_directory -j 2 >/dev/null
echo "## Examinee directory"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6), $(date -u +%Y-%m-%d); QT_QPA_PLATFORM=offscreen"
echo
QT_QPA_PLATFORM=offscreen build/bench/directory/bench_directory skins "${1:-100000}" "${2:-21}" ${3:+"$3"}
