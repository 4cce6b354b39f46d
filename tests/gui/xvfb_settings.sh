#!/bin/sh
# xvfb_settings.sh MOUSECFG RESOURCE_FOLDER WORK_FOLDER
# The settings, version and updater windows of the real program on the X server of xvfb-run against the virtual
# mouse, driven with xdotool:
#  1. the gear button opens the settings window; its autostart switch writes Set.ini and a valid autostart entry;
#  2. the sleep slider on the device page writes Set.ini while it is dragged, and only its release reaches the
#     mouse (the virtual mouse's sleep time);
#  3. the version link of the home panel opens the version window, which closes with its button;
#  4. the update button of the about page starts the updater (its window appears); pressed again, it brings the
#     running updater back instead of starting a second one.
set -eu
program=$1 resources=$2 work=$3
. "$(dirname "$0")/shell_common.sh"
sed -i 's/^CloseOption=.*/CloseOption=1/; s/^Remind=.*/Remind=0/; s/^Language=.*/Language=1/; s/^SleepTime=.*/SleepTime=10/' \
    "$work/res/Set.ini"
ask() { "$program" --res "$work/res" --sim-command "$1" >/dev/null; }
setting() { sed -n "s/^$1=//p" "$work/res/Set.ini" | head -n 1 | tr -d '\r'; }
sleep_seconds() { ask "dump $work/mouse.json" && sed -n 's/.*"sleepSeconds": *\([0-9]*\).*/\1/p' "$work/mouse.json"; }
# The updaters this test started: named AutoUpdate, with this test's runtime folder.
updaters() {
    for comm in $(grep -lx AutoUpdate /proc/[0-9]*/comm 2>/dev/null); do
        folder=${comm%/comm}
        tr '\0' '\n' <"$folder/environ" 2>/dev/null | grep -qx "XDG_RUNTIME_DIR=$work/run" && echo "${folder#/proc/}"
    done
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
open_settings() {
    click "$main" 857 28
    settings=$(xdotool search --sync --onlyvisible --name "^setting$" | head -n 1)
    sleep 0.5
}
cleanup() { for updater in $(updaters); do kill "$updater" 2>/dev/null || true; done; }
trap cleanup EXIT

timeout 90 "$program" --simulate receiver --res "$work/res" 2>"$work/trace.txt" &
pid=$!
main=$(xdotool search --sync --onlyvisible --name "Gaming Mouse Settings" | head -n 1)
settled() { [ "$(sleep_seconds)" = 600 ]; }
wait_for settled || fail "the mouse was not brought in step (sleep time $(sleep_seconds))"
no_updater() { [ -z "$(updaters)" ]; }
wait_for no_updater || fail "an updater of this user runs already"

# 1. Autostart.
open_settings
import -window root "$work/settings.png"
click "$settings" 630 118
entry="$work/config/autostart/mousecfg.desktop"
autostart_on() { [ "$(setting AutomaticallyOpenEn)" = 1 ] && [ -f "$entry" ]; }
wait_for autostart_on || fail "the autostart switch wrote no entry"
desktop-file-validate "$entry" || fail "the autostart entry is no valid desktop entry"
grep -q "^Exec=\"$program\"\$" "$entry" || fail "the entry does not run the program: $(cat "$entry")"

# 2. The sleep slider, from 10 to 40 minutes: the thumb of 1..60 runs from x 217 to 564 at y 228.
click "$settings" 90 139
sleep 0.3
xdotool mousemove --window "$settings" 270 228 mousedown 1
xdotool mousemove --window "$settings" 350 228
sleep 0.1
xdotool mousemove --window "$settings" 446 228
stored_40() { [ "$(setting SleepTime)" = 40 ]; }
wait_for stored_40 || fail "the slider did not write Set.ini while moving ($(setting SleepTime))"
import -window root "$work/settings_device.png"
[ "$(sleep_seconds)" = 600 ] || fail "the mouse was told before the slider was released"
xdotool mouseup 1
mouse_40() { [ "$(sleep_seconds)" = 2400 ]; }
wait_for mouse_40 || fail "the mouse did not receive the released sleep time ($(sleep_seconds))"
click "$settings" 652 28
settings_gone() { ! xdotool search --onlyvisible --name "^setting$" >/dev/null 2>&1; }
wait_for settings_gone || fail "the settings window did not close"

# 3. The version window.
click "$main" 60 609
version=$(xdotool search --sync --onlyvisible --name "^SoftVersion$" | head -n 1)
sleep 0.5
import -window root "$work/version.png"
click "$version" 772 28
version_gone() { ! xdotool search --onlyvisible --name "^SoftVersion$" >/dev/null 2>&1; }
wait_for version_gone || fail "the version window did not close"

# 4. The updater, started once and then brought back.
for attempt in 1 2; do
    open_settings
    click "$settings" 90 185
    sleep 0.3
    click "$settings" 430 283
    wait_for settings_gone || fail "the update button did not close the settings window"
    xdotool search --sync --onlyvisible --name "^AutoUpdate$" >/dev/null || fail "no updater window"
done
sleep 0.5
import -window root "$work/updater.png"
one_updater() { [ "$(updaters | wc -l)" -eq 1 ]; }
wait_for one_updater || fail "$(updaters | wc -l) updaters run instead of one"

click "$main" 962 28
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program did not end with 0 by its close button (status $status)"
echo "settings, autostart, sleep slider, version window and updater checked; screenshots in $work"
