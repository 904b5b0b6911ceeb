#!/usr/bin/env bash
# Selecting and scoring one examinee in the result sheet on 100,000 examinees, against a bare
# SELECT of the answer row. Run from anywhere: bench/scoring/run.sh [examinees] [repetitions] [rounds]
# Builds the bench_scoring target in build/ and prints a table in the form of bench/RESULTS.md; its
# last line says whether the goal (ratio at most 1.5) is met.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_scoring
echo "## Selecting and scoring an examinee"
echo
bench_machine
echo
build/bench/scoring/bench_scoring "$@"
