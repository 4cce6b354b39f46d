# Sourced by the tests that run the real program: a work folder with a copy of the resource folder, its own
# runtime folder (the single-instance socket) and configuration folder (the autostart entry), and helpers.
# Needs $work and $resources; the helpers that ask about controls need $program.
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

# What the running program ($program) tells of control NAME of its main window: the value of FIELD ("x", "y", "w",
# "h", "visible", "enabled", "selected", "text").
field() {
    if [ "$2" = text ]; then
        "$program" --res "$work/res" --ask "control $1" | sed -n 's/.* text=//p'
    else
        "$program" --res "$work/res" --ask "control $1" | sed 's/ text=.*//' | tr ' ' '\n' | sed -n "s/^$2=//p"
    fi
}
# Sets x, y, w, h to the screen rectangle of control NAME of the main window.
locate() {
    answer=$("$program" --res "$work/res" --ask "control $1")
    case $answer in error*) fail "no control $1: $answer" ;; esac
    eval "$(echo "$answer" | sed 's/ text=.*//' | tr ' ' '\n' | grep -E '^(x|y|w|h)=')"
}
# Moves the pointer to the centre of control NAME of the main window and clicks it.
click_control() {
    locate "$1"
    xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
}
