#!/usr/bin/env bash
# A backup of a 200 MB database against cp of the same file in the same run.
# Run from anywhere: bench/backup/run.sh [rounds]
# Builds the bench_backup target in build/ and prints a table in the form of bench/RESULTS.md.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target bench_backup -j 2 >/dev/null
echo "## Backup of the database"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6), $(date -u +%Y-%m-%d)"
echo
build/bench/backup/bench_backup "$@"
