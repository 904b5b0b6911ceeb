#!/usr/bin/env bash
# Data source filter and count on 100,000 examinees, against a bare QSqlQuery doing the same
# SELECTs. Run from anywhere: bench/store/run.sh [examinees] [repetitions]
# Builds the bench_store target in build/ (configured by scripts/build.sh) and prints a table
# in the form of bench/RESULTS.md, with the machine it ran on; its last line says whether the goal
# (ratio at most 1.5) is met.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_store
echo "## Data source filter and count"
echo
bench_machine
echo
build/bench/store/bench_store "$@"
