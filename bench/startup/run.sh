#!/usr/bin/env bash
# Start-up of Kelto (its own start function, on a database of 100,000 examinees with their answer
# rows) against a minimal Qt widgets window, both as real processes on the offscreen platform.
# Run from anywhere: bench/startup/run.sh [runs] [examinees]
# Prints a table in the form of bench/RESULTS.md, with the machine it ran on.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target startup_probe_kelto startup_probe_minimal startup_bench -j 2 >/dev/null
folder=$(mktemp -d /tmp/kelto-startup-XXXXXX)
trap 'rm -rf "$folder"' EXIT
echo "## Start-up"
echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6), $(date -u +%Y-%m-%d); QT_QPA_PLATFORM=offscreen"
echo
QT_QPA_PLATFORM=offscreen build/bench/startup/startup_bench build/bench/startup/startup_probe_kelto \
    build/bench/startup/startup_probe_minimal "$folder" skins "${1:-30}" "${2:-100000}"
