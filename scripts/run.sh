#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it:
#   scripts/run.sh                 the GUI, against the supported mouse when one is connected, else against the
#                                  virtual mouse behind its 2.4 GHz receiver (the window title and a banner say so)
#   scripts/run.sh ARGS...         the GUI with these arguments (for example --simulate cable)
#   scripts/run.sh cli ARGS...     the command-line tool (for example: cli --simulate receiver --trace info)
# Without a display (no DISPLAY or WAYLAND_DISPLAY) the GUI starts briefly on a private Xvfb screen and
# a screenshot of it is saved in build/mousecfg-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh normal mousecfg mousecfg-cli
if [ "${1:-}" = cli ]; then
    shift
    exec build/bin/mousecfg-cli "$@"
fi

args=("$@")
if [ ${#args[@]} -eq 0 ]; then
    if build/bin/mousecfg-cli devices 2>/dev/null | grep -q ' present$'; then
        echo "run: a supported mouse is connected"
    else
        echo "run: no supported mouse is connected: using the virtual mouse (--simulate receiver)"
        args=(--simulate receiver)
    fi
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    shot="$PWD/build/mousecfg-screenshot.png"
    echo "run: no display; starting it briefly on a private Xvfb screen to save a screenshot"
    run=$(mktemp -d)
    chmod 700 "$run"
    XDG_RUNTIME_DIR="$run" xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" \
        build/bin/mousecfg "${args[@]}" --grab "$shot" 2>/dev/null || true
    rm -rf "$run"
    if [ -f "$shot" ]; then
        echo "run: screenshot of the main window: $shot"
    fi
    echo "run: on a desktop, start it with: build/bin/mousecfg ${args[*]}"
    exit 0
fi
exec build/bin/mousecfg "${args[@]}"
