#!/usr/bin/env bash
# The CSV export of 100,000 examinees (ExamineeExport::write: the record, the 40 answers and the 23
# scores of each), against sqlite3 -csv writing the record and the answers of the same join in
# the same run, rounds alternating which goes first. Goals: at most 3 times sqlite3's time, and a
# peak under 30 MiB above the idle program. Run from anywhere: bench/export/run.sh [rounds] [examinees]
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build bench_export
rounds=${1:-5}
examinees=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db="$work/DBKelto.mdb"
build/bench/export/bench_export build "$db" "$examinees"
columns='e."Code",e."FName",e."LName",e."Jens",e."Sen",e."Taahol",e."Tahsil",e."Group",e."Date",e."Time"'
for i in $(seq 1 40); do columns+=",a.\"$i\""; done
query="SELECT $columns FROM \"IDE\" AS e LEFT JOIN \"Answer\" AS a ON a.rowid = (SELECT rowid FROM \"Answer\" \
WHERE \"Code\" = e.\"Code\" COLLATE NOCASE ORDER BY rowid LIMIT 1) ORDER BY e.rowid"
results="$work/results"
baseline() {
    /usr/bin/time -f "sqlite3 %e %M" -o "$work/time" sqlite3 -csv "$db" "$query" >"$work/sqlite.csv"
    cat "$work/time" >>"$results"
}
kelto() { echo "kelto $(build/bench/export/bench_export export "$db" "$work/kelto.csv")" >>"$results"; }
for ((r = 0; r < rounds; r++)); do
    if ((r % 2 == 0)); then baseline; kelto; else kelto; baseline; fi
done
echo "## CSV export"
echo
bench_machine "; sqlite3 $(sqlite3 --version | cut -d' ' -f1); $examinees examinees, $rounds rounds, medians"
echo
python3 - "$results" "$work/kelto.csv" "$work/sqlite.csv" <<'PY'
import os, statistics, sys
sqlite_s, sqlite_kib, kelto = [], [], []
for line in open(sys.argv[1]):
    parts = line.split()
    if parts[0] == "sqlite3":
        sqlite_s.append(float(parts[1])); sqlite_kib.append(float(parts[2]))
    else:
        kelto.append(dict(zip(parts[1::2], map(float, parts[2::2]))))
base_ms = statistics.median(sqlite_s) * 1000
ms = statistics.median(k["ms"] for k in kelto)
growth = statistics.median((k["peak_rss_kib"] - k["idle_rss_kib"]) / 1024 for k in kelto)
size = lambda p: os.path.getsize(p) / 2**20
print("| export | ms | ratio | memory | file (MiB) |")
print("|---|---|---|---|---|")
print(f"| sqlite3 -csv, record and answers (baseline) | {base_ms:.0f} | 1.00 | peak RSS of the process {statistics.median(sqlite_kib) / 1024:.1f} MiB | {size(sys.argv[3]):.1f} |")
print(f"| Kelto, record, answers and 23 scores | {ms:.0f} | {ms / base_ms:.2f} | peak {growth:.1f} MiB above idle ({statistics.median(k['idle_rss_kib'] for k in kelto) / 1024:.1f} MiB) | {size(sys.argv[2]):.1f} |")
print()
print(f"Goal (at most 3 times sqlite3, under 30 MiB above idle): {'met' if ms / base_ms <= 3 and growth < 30 else 'NOT met'}")
PY
