#!/usr/bin/env bash
# A registration's save (the duplicate check of the code, then the examinee row and the answer row
# in one transaction, as the registration panel does it) on 100,000 examinees, against two bare
# INSERTs in one transaction. Run from anywhere: bench/registration/run.sh [examinees] [rounds]
# Prints a table in the form of bench/RESULTS.md; its last line says whether the goal (ratio at
# most 1.5) is met.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_registration -j 2 >/dev/null
echo "## Registration save"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6), $(date -u +%Y-%m-%d)"
echo
build/bench/registration/bench_registration "$@"
