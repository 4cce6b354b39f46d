#!/usr/bin/env bash
# Builds the benchmarks (normal build in build/) and prints the benchmark table:
#   scripts/bench.sh            start-up measured over 5 runs
#   scripts/bench.sh 11         ... over 11 runs
# Figures depend on the machine and its load: run it on an otherwise idle machine and compare runs of the same
# machine. The benchmarks' own output is kept in build/bench/results/.
set -euo pipefail
cd "$(dirname "$0")/.."

runs="${1:-5}"
scripts/build.sh normal bench_connection_monitor bench_apply bench_startup bench_macro_stream >/dev/null
out=build/bench/results
mkdir -p "$out"

echo "Running the benchmarks (about a minute)..." >&2
build/bench/bench_connection_monitor >"$out/monitor.txt" 2>&1
build/bench/bench_apply --benchmark_format=csv >"$out/apply.csv" 2>"$out/apply.err"
build/bench/bench_startup build/bin/mousecfg build/bin/res "$runs" >"$out/startup.txt" 2>&1
build/bench/bench_macro_stream --benchmark_filter=BM_WriteMacroModelledTime --benchmark_format=csv \
    >"$out/macro_write.csv" 2>"$out/macro.err"
build/bench/bench_macro_stream --benchmark_filter=BM_EncodeMacro --benchmark_format=csv \
    >"$out/macro_encode.csv" 2>>"$out/macro.err"

# The value of a CSV column by its header name, for the row whose name contains $2.
column() {  # file row-pattern column-name
    awk -F, -v row="$2" -v col="$3" '
        NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); index_of[$i] = i }; next }
        index($1, row) > 0 { print $(index_of[col]); exit }' "$1"
}

row() { printf '| %-48s | %-26s | %-32s |\n' "$1" "$2" "$3"; }

latency=$(sed -n 's/^input report to message: p50 \([0-9.]*\) us, p99 \([0-9.]*\) us.*/\1 us \/ \2 us/p' "$out/monitor.txt")
idle=$(sed -n 's/^idle with two devices: .*, \([0-9.]*\) % of one core.*/\1 % of one core/p' "$out/monitor.txt")
paint=$(sed -n 's/^median: first paint \([0-9.]*\) ms.*resident \([0-9.]*\) MiB.*/\1 ms|\2 MiB/p' "$out/startup.txt")
bare=$(sed -n 's/^bare window median: first paint \([0-9.]*\) ms, resident \([0-9.]*\) MiB.*/\1 ms|\2 MiB/p' \
    "$out/startup.txt")

echo
row "figure" "measured" "goal or baseline"
row "------------------------------------------------" "--------------------------" "--------------------------------"
row "input report to window message, p50 / p99" "${latency:-?}" "p99 < 1000 us"
row "idle CPU, two devices with readers" "${idle:-?}" "< 0.1 %"
row "start-up to first paint (median of $runs)" "${paint%%|*}" "bare Qt window ${bare%%|*}"
row "resident memory after start-up" "${paint##*|}" "bare Qt window ${bare##*|}"
for scenario in FullWriteCable FullWriteReceiver MatchingTagsCable SwitchToHeldProfileCable \
    SwitchToNewProfileReceiver SingleDpiChangeReceiver FireValueChangeCable ResetCable FullWriteBle; do
    frames=$(column "$out/apply.csv" "/$scenario/" frames)
    fewest=$(column "$out/apply.csv" "/$scenario/" fewest)
    modelled=$(column "$out/apply.csv" "/$scenario/" modelled_s)
    row "apply $scenario: frames" "${frames:-?} (${modelled:-?} s paced)" "fewest the sequence allows: ${fewest:-?}"
done
for items in 1 100 254; do
    frames=$(column "$out/macro_write.csv" "/$items\"" frames)
    modelled=$(column "$out/macro_write.csv" "/$items\"" modelled_ms)
    encode=$(column "$out/macro_encode.csv" "/$items\"" cpu_time)
    row "macro stream, $items item(s): frames, paced time" "${frames:-?}, ${modelled:-?} ms" \
        "encoding: $(printf '%.0f' "${encode:-0}") ns of CPU"
done
