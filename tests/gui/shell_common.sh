# Sourced by the tests that run the real program: a work folder with a copy of the resource folder, its own
# runtime folder (the single-instance socket) and configuration folder (the autostart entry), and helpers.
# Needs $work and $resources.
rm -rf "$work"
mkdir -p "$work/run" "$work/config"
chmod 700 "$work/run"
cp -R "$resources" "$work/res"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"

fail() { echo "FAILED: $*"; [ -z "${pid:-}" ] || kill "$pid" 2>/dev/null; exit 1; }
# Waits until a command succeeds, 10 s at most.
wait_for() {
    for attempt in $(seq 1 40); do
        if "$@"; then return 0; fi
        sleep 0.25
    done
    return 1
}
