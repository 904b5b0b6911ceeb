#!/usr/bin/env bash
# Runs the whole test suite several times while every core is kept busy, as on a clinic's PC that
# is doing other work, and prints each test that failed at least once with its count.
# Usage: tools/stress-tests.sh [runs]   (default 10). Exit 0 only when every run was green.
# Every run's log is kept in a folder of this invocation's own under build/stress/.
set -euo pipefail
runs=${1:-10}
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null

# One busy loop a core. Each ends by itself after a bound, so none can outlive this script even if
# it is killed; normally they are stopped as the script ends.
busy_loops=()
stop_busy_loops() {
    for pid in "${busy_loops[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait "${busy_loops[@]}" 2>/dev/null || true
}
trap stop_busy_loops EXIT
for _ in $(seq "$(nproc)"); do
    timeout 6h sh -c 'while :; do :; done' &
    busy_loops+=("$!")
done

logs=build/stress/$(date +%Y%m%d-%H%M%S)
mkdir -p "$logs"
declare -A failed
green=0
for run in $(seq "$runs"); do
    log="$logs/run-$run.log"
    if (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 >"../$log" 2>&1); then
        green=$((green + 1))
        echo "run $run of $runs: green"
    else
        # CTest lists failures as "  12 - test_name (Failed)" after "The following tests FAILED:".
        names=$(sed -n '/The following tests FAILED:/,$p' "$log" | sed -nE 's/^[[:space:]]*[0-9]+ - ([^ ]+) .*/\1/p')
        echo "run $run of $runs: failed: $(echo $names) (log: $log)"
        for name in $names; do failed[$name]=$((${failed[$name]:-0} + 1)); done
    fi
done

echo "green: $green of $runs runs"
for name in "${!failed[@]}"; do
    echo "  $name failed in ${failed[$name]} of $runs runs"
done
[ "$green" -eq "$runs" ]
