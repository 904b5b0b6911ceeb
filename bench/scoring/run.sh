#!/usr/bin/env bash
# Selecting and scoring one examinee in the result sheet on 100,000 examinees, against a bare
# SELECT of the answer row. Run from anywhere: bench/scoring/run.sh [examinees] [repetitions] [rounds]
# Builds the bench_scoring target in build/ and prints a table in the form of bench/RESULTS.md; its
# last line says whether the goal (ratio at most 1.5) is met.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_scoring -j 2 >/dev/null
echo "## Selecting and scoring an examinee"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6), $(date -u +%Y-%m-%d)"
echo
build/bench/scoring/bench_scoring "$@"
