#!/usr/bin/env bash
# A backup of a 200 MB database, plain and sealed, and a restore from the sealed one, against cp of
# the same file in the same run.
# Run from anywhere: bench/backup/run.sh [rounds]
# Builds the bench_backup target in build/ and prints a table in the form of bench/RESULTS.md.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_backup
echo "## Backup of the database"
echo
bench_machine
echo
build/bench/backup/bench_backup "$@"
