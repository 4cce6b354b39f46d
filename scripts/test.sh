#!/usr/bin/env bash
# Installs what is missing, builds the project twice (a normal build with warnings as errors, and an
# AddressSanitizer + UndefinedBehaviorSanitizer build) and runs the whole test suite in both; then builds the
# tests that run threads with ThreadSanitizer (only those targets, to keep the run short) and runs them; last
# builds the libFuzzer targets with clang and runs each of them briefly from its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Qt's platform plug-ins keep some library memory (D-Bus, fontconfig) until exit; see the file.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan-qt.supp}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"

for flavour in normal asan; do
    echo "== $flavour build"
    scripts/build.sh "$flavour"
    dir=build
    [ "$flavour" = normal ] || dir="build-$flavour"
    echo "== $flavour tests"
    ctest --test-dir "$dir" --output-on-failure -j2
done

echo "== tsan build (tests labelled threads)"
scripts/build.sh tsan device_thread_tests sim_tests config_thread_tests app_thread_tests soak_tests update_tests
echo "== tsan tests"
ctest --test-dir build-tsan --output-on-failure -j2 -L threads

echo "== fuzz targets"
scripts/fuzz.sh "${MOUSECFG_FUZZ_SECONDS:-6}"
echo "== all tests passed"
