#!/usr/bin/env bash
# A backup of a register of 100,000 examinees on a PostgreSQL 15 server (started for the run in a
# temporary folder) to a .mdbB file, against pg_dump -Fc of the same database in the same run.
# Run from anywhere: bench/server/run.sh [examinees] [rounds]
# Builds the bench_server_backup target in build/ and prints a table in the form of bench/RESULTS.md.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_server_backup
echo "## Backup of a register on a server"
echo
bench_machine
echo
build/bench/server/bench_server_backup "$@"
