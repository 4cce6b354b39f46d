#!/usr/bin/env bash
# Configures and builds one flavour of the project:
#   scripts/build.sh            normal build in build/ (warnings are errors)
#   scripts/build.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
#   scripts/build.sh tsan       ThreadSanitizer build in build-tsan/
# Extra arguments after the flavour go to the build tool (for example a target name).
set -euo pipefail
cd "$(dirname "$0")/.."

flavour="${1:-normal}"
shift || true
case "$flavour" in
    normal) dir=build; sanitize="" ;;
    asan) dir=build-asan; sanitize=asan ;;
    tsan) dir=build-tsan; sanitize=tsan ;;
    *) echo "build: unknown flavour '$flavour' (normal, asan or tsan)" >&2; exit 2 ;;
esac

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOUSECFG_WERROR=ON \
    -DMOUSECFG_SANITIZE="$sanitize" >/dev/null
cmake --build "$dir" "$@"
