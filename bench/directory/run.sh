#!/usr/bin/env bash
# The examinee directory on 100,000 examinees: opening it until its grid has painted the first
# screen, and a last-name look-up until the grid holds its first screen of rows, each against a
# bare QSqlQuery in the same run. Run from anywhere: bench/directory/run.sh [examinees] [rounds] [grab.png]
# With a PNG path, the window is also saved as a picture (all examinees, then a last name chosen).
# Prints a table in the form of bench/RESULTS.md; its last line says whether the goals are met.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_directory
echo "## Examinee directory"
echo
bench_machine "; QT_QPA_PLATFORM=offscreen"
echo
QT_QPA_PLATFORM=offscreen build/bench/directory/bench_directory skins "${1:-100000}" "${2:-21}" ${3:+"$3"}
