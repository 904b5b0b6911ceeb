#!/usr/bin/env bash
# Builds the project and runs every benchmark (bench/*/run.sh), each printing its own table of
# figures with ratios against a baseline measured in the same run. Figures go to bench/RESULTS.md.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
for script in bench/*/run.sh; do
    echo
    echo "== ${script%/run.sh}"
    "$script"
done
