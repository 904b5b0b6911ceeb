#!/usr/bin/env bash
# A registration's save (the duplicate check of the code, then the examinee row and the answer row
# in one transaction, as the registration panel does it) on 100,000 examinees, against two bare
# INSERTs in one transaction. Run from anywhere: bench/registration/run.sh [examinees] [rounds]
# Prints a table in the form of bench/RESULTS.md; its last line says whether the goal (ratio at
# most 1.5) is met.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_registration
echo "## Registration save"
echo
bench_machine
echo
build/bench/registration/bench_registration "$@"
