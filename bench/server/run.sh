#!/usr/bin/env bash
# The register on a PostgreSQL 15 server started for the run (as the tests start one), against the
# same server in the same run: through Kelto's store against bare QSqlQuery statements (a look-up by
# code, a filter's count, a registration save and opening the directory at 100,000 examinees, and
# the look-up and the directory again at 1,000,000), and a backup of 100,000 examinees to a .mdbB
# file against pg_dump -Fc.
# Run from anywhere: bench/server/run.sh [examinees] [grown to] [rounds]
# Prints tables in the form of bench/RESULTS.md; the last line of each says whether its goals are met.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_server_store
bench_build bench_server_backup
echo "## The register on a server"
echo
bench_machine "; QT_QPA_PLATFORM=offscreen"
echo
QT_QPA_PLATFORM=offscreen build/bench/server/bench_server_store skins "${1:-100000}" "${2:-1000000}" "${3:-3}"
echo
echo "## Backup of a register on a server"
echo
build/bench/server/bench_server_backup "${1:-100000}" "${3:-3}"
