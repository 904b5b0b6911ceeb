#!/usr/bin/env bash
# Start-up of Kelto (its own start function, on a database of 100,000 examinees with their answer
# rows) against a minimal Qt widgets window, both as real processes on the offscreen platform.
# Run from anywhere: bench/startup/run.sh [runs] [examinees]
# Prints a table in the form of bench/RESULTS.md, with the machine it ran on.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build startup_probe_kelto startup_probe_minimal startup_bench
folder=$(mktemp -d /tmp/kelto-startup-XXXXXX)
trap 'rm -rf "$folder"' EXIT
echo "## Start-up"
echo
bench_machine "; QT_QPA_PLATFORM=offscreen"
echo
QT_QPA_PLATFORM=offscreen build/bench/startup/startup_bench build/bench/startup/startup_probe_kelto \
    build/bench/startup/startup_probe_minimal "$folder" skins "${1:-30}" "${2:-100000}"
