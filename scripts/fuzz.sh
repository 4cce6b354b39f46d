#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each of them for a while, one after the other:
#   scripts/fuzz.sh            6 seconds per target (the short run of scripts/test.sh)
#   scripts/fuzz.sh 600        ten minutes per target
#   scripts/fuzz.sh 60 fuzz_mouse_config     one target only
# Each target starts from its seed corpus in tests/fuzz/corpus/ and keeps what it finds in build-fuzz/corpus/.
# A crash or a broken property leaves its input in build-fuzz/ and fails the script. The last line per target
# gives its executions.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-6}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_mouse_config fuzz_macro_document fuzz_preset_files fuzz_device_feature fuzz_exchange_file
             fuzz_catalogue fuzz_catalogue_archive fuzz_ble_list fuzz_ble_messages fuzz_input_report
             fuzz_skin_xml fuzz_position_file fuzz_language_files fuzz_update_files)
fi

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1   # as in scripts/build.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOUSECFG_WERROR=ON \
    -DMOUSECFG_FUZZ=ON -DMOUSECFG_BUILD_TESTS=OFF -DMOUSECFG_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target mousecfg_fuzz

# Several targets write files; a memory-backed folder keeps their flushes cheap.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
for target in "${targets[@]}"; do
    seeds="tests/fuzz/corpus/${target#fuzz_}"
    corpus="build-fuzz/corpus/${target#fuzz_}"
    mkdir -p "$corpus"
    echo "== $target for ${seconds}s"
    log="build-fuzz/$target.log"
    status=0
    (cd build-fuzz && "bin/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "../$corpus" "../$seeds") >"$log" 2>&1 || status=$?
    grep -E '^stat::number_of_executed_units|^#[0-9]+ +DONE' "$log" || true
    if [ "$status" -ne 0 ]; then
        grep -E -A30 'ERROR|==[0-9]+==' "$log" | head -60 >&2
        echo "== $target failed (log: $log)" >&2
        exit 1
    fi
done
echo "== fuzz targets ran clean"
