#!/usr/bin/env bash
# Installs what is missing, builds the project twice (a normal build with warnings as errors, and an
# AddressSanitizer + UndefinedBehaviorSanitizer build) and runs the whole test suite in both; then builds the
# tests that run threads with ThreadSanitizer (only those targets, to keep the run short) and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
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
scripts/build.sh tsan device_thread_tests sim_tests
echo "== tsan tests"
ctest --test-dir build-tsan --output-on-failure -j2 -L threads
echo "== all tests passed"
