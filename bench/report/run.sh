#!/usr/bin/env bash
# Rendering the result report to PDF (DataRPrint::exportPdf), each round in a fresh program,
# against a bare one-line PDF page rendered the same way in the same run. Goals: under 150 ms and
# under 40 MiB above the idle program. Run from anywhere: bench/report/run.sh [rounds]
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build report_bench
rounds=${1:-7}
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for ((i = 0; i < rounds; i++)); do
    echo "bare $(build/bench/report/report_bench bare 2>/dev/null)" >>"$results"
    echo "report $(build/bench/report/report_bench report 2>/dev/null)" >>"$results"
done
echo "## Result report to PDF"
echo
bench_machine "; $rounds rounds, medians"
echo
python3 - "$results" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    kind, *pairs = line.split()
    values = dict(zip(pairs[0::2], map(float, pairs[1::2])))
    rows.setdefault(kind, []).append(values)
def median(kind, key):
    return statistics.median(r[key] for r in rows[kind])
def growth(kind):
    return statistics.median((r["peak_rss_kib"] - r["idle_rss_kib"]) / 1024 for r in rows[kind])
print("| rendering | first (ms) | ratio | again (ms) | ratio | idle RSS (KiB) | peak over idle (MiB) |")
print("|---|---|---|---|---|---|---|")
for kind, name in (("bare", "bare page, one line (baseline)"), ("report", "result report")):
    print(f"| {name} | {median(kind, 'first_ms'):.1f} | {median(kind, 'first_ms') / median('bare', 'first_ms'):.2f} "
          f"| {median(kind, 'again_ms'):.1f} | {median(kind, 'again_ms') / median('bare', 'again_ms'):.2f} "
          f"| {median(kind, 'idle_rss_kib'):.0f} | {growth(kind):.1f} |")
first, peak = median("report", "first_ms"), growth("report")
print()
print(f"Goal (first rendering under 150 ms, under 40 MiB above idle): {'met' if first < 150 and peak < 40 else 'not met'}")
PY
