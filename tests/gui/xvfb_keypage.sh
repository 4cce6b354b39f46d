#!/bin/sh
# xvfb_keypage.sh MOUSECFG RESOURCE_FOLDER WORK_FOLDER X11_PROBE
# The key page of the real program on the X server of xvfb-run, driven by real pointer and key events (xdotool,
# through the X server), checked by what the virtual mouse then holds:
#  1. a click on the label of button 3, on the media category and on "Play/Pause": the mouse's key slot of button 3
#     holds the Play/Pause function (consumer usage 0xCD);
#  2. a key typed while "SetRecordKey" is selected: the mouse's key slot of button 4 holds that key, and the key did
#     not reach another program that takes it as a global shortcut (X11_PROBE), which does get it otherwise;
#  3. over BLE the report-rate function is not offered and the macro pickers are disabled.
set -eu
program=$1 resources=$2 work=$3 probe=$4
. "$(dirname "$0")/shell_common.sh"
sed -i 's/^Language=.*/Language=1/; s/^CloseOption=.*/CloseOption=1/; s/^Remind=.*/Remind=0/' "$work/res/Set.ini"

click() { click_control "$1"; }
# The four bytes of slot N of the active profile's key slots, as "a,b,c,d".
key_slot() {
    "$program" --res "$work/res" --sim-command "dump $work/mouse.json" >/dev/null
    tr -d ' \n' <"$work/mouse.json" | sed -n "s/.*\"keys\":\[\(\[[^]]*\],\)\{$1\}\(\[[^]]*\]\).*/\2/p" | tr -d '[]'
}
start() {
    timeout 100 "$program" --simulate "$1" --res "$work/res" 2>>"$work/trace.txt" &
    pid=$!
    # Windows come and go while the program starts (a search meeting one that just went fails): search again, for
    # up to a minute on a busy machine.
    for attempt in 1 2 3 4 5 6; do
        if wait_for sh -c 'xdotool search --onlyvisible --name "Gaming Mouse Settings" >/dev/null 2>&1'; then
            break
        fi
        [ "$attempt" -lt 6 ] || fail "the main window did not appear"
    done
    wait_for test "$(field btn_MouseKey_Click3 visible)" = 1 || fail "the key page shows no button 3"
}
stop() {
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
}

# 1. A media function for button 3 (key slot 3 of the model).
start cable
click btn_MouseKey_Click3
wait_for test "$(field ver_mousekeysel visible)" = 1 || fail "the assignment panel did not open"
click opt_MouseKey_Media
wait_for test "$(field ItemValue37_PlayPause visible)" = 1 || fail "the media list is not shown"
click ItemValue37_PlayPause
wait_for test "$(key_slot 3)" = "4,205,0,0" || fail "button 3 of the mouse holds $(key_slot 3), not Play/Pause"
import -window root "$work/media.png"

# 2. A recorded key: "q" is another program's global shortcut, which takes it while nothing records.
: >"$work/probe_keys.txt"
"$probe" keys "$work/probe_keys.txt" q >"$work/probe.txt" 2>&1 &
probe_pid=$!
wait_for grep -q ready "$work/probe.txt" || fail "the other X client did not start"
xdotool key q
wait_for grep -q "^q$" "$work/probe_keys.txt" || fail "the other X client does not get its shortcut"
click btn_MouseKey_Click4
click opt_MouseKey_ShortCut
click SetRecordKey
wait_for test "$(field SetRecordKey selected)" = 1 || fail "recording did not start"
before=$(grep -c "^q$" "$work/probe_keys.txt")
xdotool key q
wait_for test "$(field SetRecordKey text)" = Q || fail "the recorded key shows '$(field SetRecordKey text)'"
[ "$(grep -c "^q$" "$work/probe_keys.txt")" -eq "$before" ] || fail "the key reached another program while recording"
import -window root "$work/record.png"
click BtnRecordConfirm
wait_for test "$(key_slot 4)" = "2,20,0,0" || fail "button 4 of the mouse holds $(key_slot 4), not the key Q"
xdotool key q
wait_for test "$(grep -c "^q$" "$work/probe_keys.txt")" -gt "$before" || fail "the keyboard stayed grabbed"
kill "$probe_pid"
stop

# 3. Over BLE: no report-rate function, no macro pickers.
start ble
click btn_MouseKey_Click3
wait_for test "$(field ver_mousekeysel visible)" = 1 || fail "the assignment panel did not open over BLE"
[ "$(field ItemValue10_ReportRate visible)" = 0 ] || fail "the report-rate function is offered over BLE"
[ "$(field btn_MouseKey_MacroGroupVal enabled)" = 0 ] || fail "the macro group picker is enabled over BLE"
[ "$(field btn_MouseKey_MacroVal enabled)" = 0 ] || fail "the macro picker is enabled over BLE"
stop
echo "media function, recorded key and BLE restrictions checked; screenshots in $work"
