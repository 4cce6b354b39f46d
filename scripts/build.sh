#!/usr/bin/env bash
# Configures and builds one flavour of the project:
#   scripts/build.sh            normal build in build/ (warnings are errors)
#   scripts/build.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
#   scripts/build.sh tsan       ThreadSanitizer build in build-tsan/
# Extra arguments after the flavour name targets to build (all targets when there are none).
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

# ccache (when installed) keys objects by paths relative to the checkout, so every clone and build folder shares
# them; the cache is kept at 5 GB.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
command -v ccache >/dev/null && ccache --max-size=5G >/dev/null 2>&1 || true

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOUSECFG_WERROR=ON \
    -DMOUSECFG_SANITIZE="$sanitize" >/dev/null
if [ $# -gt 0 ]; then
    cmake --build "$dir" --target "$@"
else
    cmake --build "$dir"
fi
