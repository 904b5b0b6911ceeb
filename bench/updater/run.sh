#!/usr/bin/env bash
# Updater download benchmark: a 200 MB body from a loopback server, fetched by FileDownloader
# (1 KiB reads, an event pump and a progress event after each) and by `curl -o`, three runs each,
# medians compared. Goals: at most 3 times curl's time; at most 20 MiB above the idle memory.
set -euo pipefail
source "$(dirname "$0")/../common.sh"
bench_build updater_bench_server updater_bench_download

size=${BENCH_BYTES:-200000000}
runs=${BENCH_RUNS:-3}
work=$(mktemp -d)
server_pid=
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

build/bench/updater/updater_bench_server "$size" >"$work/server.out" &
server_pid=$!
for _ in $(seq 50); do grep -q '^port ' "$work/server.out" 2>/dev/null && break; sleep 0.1; done
port=$(awk '/^port /{print $2}' "$work/server.out")
url="http://127.0.0.1:$port/big.bin"

median() { sort -n | awk '{a[NR]=$1} END{print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

curl_times=() ; fd_times=() ; growth=() ; idle=() ; peak=()
for _ in $(seq "$runs"); do
    t=$(curl -s -o "$work/curl.bin" -w '%{time_total}' "$url")
    [ "$(stat -c %s "$work/curl.bin")" -eq "$size" ] || { echo "curl got a short file" >&2; exit 1; }
    curl_times+=("$t"); rm -f "$work/curl.bin"

    line=$(build/bench/updater/updater_bench_download "$url" "$work/fd.bin")
    read -r _ s _ bytes _ i _ p _ ok <<<"$line"
    [ "$bytes" -eq "$size" ] && [ "$ok" -eq 1 ] || { echo "FileDownloader failed: $line" >&2; exit 1; }
    fd_times+=("$s"); idle+=("$i"); peak+=("$p"); growth+=("$((p - i))"); rm -f "$work/fd.bin"
done

curl_med=$(printf '%s\n' "${curl_times[@]}" | median)
fd_med=$(printf '%s\n' "${fd_times[@]}" | median)
growth_med=$(printf '%s\n' "${growth[@]}" | median)
idle_med=$(printf '%s\n' "${idle[@]}" | median)
peak_med=$(printf '%s\n' "${peak[@]}" | median)
ratio=$(awk -v a="$fd_med" -v b="$curl_med" 'BEGIN{printf "%.2f", a/b}')
mib=$(awk -v g="$growth_med" 'BEGIN{printf "%.1f", g/1024}')

echo "Updater download: $((size / 1000000)) MB over loopback, median of $runs runs; $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
printf '| %-30s | %10s | %-12s |\n' "measure" "value" "goal"
printf '|%s|%s|%s|\n' "--------------------------------" "------------" "--------------"
printf '| %-30s | %10s | %-12s |\n' "curl -o, seconds" "$curl_med" "baseline"
printf '| %-30s | %10s | %-12s |\n' "FileDownloader, seconds" "$fd_med" ""
printf '| %-30s | %10s | %-12s |\n' "time ratio to curl" "$ratio" "<= 3"
printf '| %-30s | %10s | %-12s |\n' "idle RSS, KiB" "$idle_med" ""
printf '| %-30s | %10s | %-12s |\n' "peak RSS during download, KiB" "$peak_med" ""
printf '| %-30s | %10s | %-12s |\n' "growth over idle, MiB" "$mib" "<= 20"
echo "all runs: curl ${curl_times[*]} s; FileDownloader ${fd_times[*]} s; growth ${growth[*]} KiB"
