#!/usr/bin/env bash
# Data source filter and count on 100,000 examinees, against a bare QSqlQuery doing the same
# SELECTs. Run from anywhere: bench/store/run.sh [examinees] [repetitions]
# Builds the bench_store target in build/ (configured by scripts/build.sh) and prints a table
# in the form of bench/RESULTS.md, with the machine it ran on; its last line says whether the goal
# (ratio at most 1.5) is met.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_store -j 2 >/dev/null
echo "## Data source filter and count"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6), $(date -u +%Y-%m-%d)"
echo
build/bench/store/bench_store "$@"
