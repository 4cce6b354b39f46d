#!/bin/sh
# xvfb_macro.sh MOUSECFG X11_PROBE RESOURCE_FOLDER WORK_FOLDER
# A macro recorded from the keyboard, bound to a button, written into the virtual mouse and edited, with the real
# program on the X server of xvfb-run, driven by real X input (xdotool):
#  1. on the macro page a new macro is recorded: "a", a pause, "b" typed while the page records;
#  2. another client that wants "a" and "b" (x11_probe, grabbing them as global shortcuts) gets none of them while
#     the recording runs, and gets "a" once it has ended;
#  3. the macro is bound to button 4 on the key page as a user does it (the button, the macro category, the group
#     and the macro from their lists, Apply): the mouse's key slot 4 holds the macro function and its macro slot 4
#     the bytes written out below from the macro's items;
#  4. one delay edited in the item dialog and the macro's "ToSave" mark clicked: the slot follows;
#  5. the session naming another keyboard layout reaches the program (its key names follow it).
set -eu
program=$1 probe=$2 resources=$3 work=$4
. "$(dirname "$0")/shell_common.sh"
sed -i 's/^CloseOption=.*/CloseOption=1/; s/^Remind=.*/Remind=0/; s/^Language=.*/Language=1/' "$work/res/Set.ini"
document="$work/res/MacroDock/MacroData/macroConfig.json"
ask() { "$program" --res "$work/res" --sim-command "$1" >/dev/null; }
# Clicks at a point of a window (client coordinates).
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
# The macro data of the macro named "New macro".
macro() { jq -rc ".MacroGrpInfo[] | .MacroInfo[]? | select((.MacroName | implode) == \"New macro\") | .macData | $1" "$document"; }
start() {
    MOUSECFG_TRACE=1 timeout 120 "$program" --simulate receiver --res "$work/res" 2>>"$work/trace.txt" &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name "Gaming Mouse Settings" | head -n 1)
    sleep 1
}
stop() {
    click "$window" 962 28  # the close button: exit (the configuration is saved)
    wait "$pid" || fail "the program did not end with 0"
    pid=
}
# The bytes the mouse holds for a key item: the code, then the delay with 0x80 for a release; a delay past 127 ms
# as 0x7F (press) or 0xFF (release), 0xFF and the rest over 127 in three bytes, low byte first.
key_item() {
    if [ "$3" -le 127 ]; then
        printf ' %02X %02X' "$1" $(( $3 + ($2 == 2 ? 128 : 0) ))
    else
        rest=$(( $3 - 127 ))
        printf ' %02X %02X FF %02X %02X %02X' "$1" $(( $2 == 2 ? 255 : 127 )) $(( rest & 255 )) \
            $(( (rest >> 8) & 255 )) $(( (rest >> 16) & 255 ))
    fi
}
# The whole slot for the four items of the document: repeat count 1, the length of the items, the items.
expected_slot() {
    delays=$(macro '.macDly[0:4] | join(" ")')
    set -- $delays
    items="$(key_item 4 1 "$1")$(key_item 4 2 "$2")$(key_item 5 1 "$3")$(key_item 5 2 "$4")"
    count=$(echo $items | wc -w)
    printf '01 00 %02X %02X%s' $(( count & 255 )) $(( count >> 8 )) "$items"
}
slot() { ask "dump $work/mouse.json" && jq -r '.macros["4"] // ""' "$work/mouse.json"; }
slot_is() { [ "$(slot)" = "$1" ]; }
# The four bytes of key slot 4 of the active profile, as "a,b,c,d".
key_slot() { ask "dump $work/mouse.json" && jq -r '.keys[4] | map(tostring) | join(",")' "$work/mouse.json"; }
# Clicks row N (from 0) of the picker list NAME of the key page: rows are as high as the picker, below the
# list's inset of 4.
click_row() {
    locate "$1"
    row=$(field "$3" h)
    xdotool mousemove --sync $((x + w / 2)) $((y + 4 + $2 * row + row / 2)) click 1
}

# The main window at 990 x 690: the page buttons at 491,91 (macros); the macro page's container starts at 275,124.
start
click "$window" 491 91
click "$window" 380 522  # new macro (in the group "Examples")
[ "$(macro '.num')" = 0 ] || fail "no empty new macro"

"$probe" keys "$work/keywatch.txt" a b >"$work/keywatch.ready" &
watcher=$!
wait_for grep -q ready "$work/keywatch.ready" || fail "x11_probe did not start"
click "$window" 622 614  # record
xdotool key a
sleep 1.2
xdotool key b
sleep 0.3
import -window root "$work/recording.png"
click "$window" 622 614  # stop
wait_for test "$(macro '.num')" = 4 || fail "the recording did not store four items: $(macro '.')"
[ ! -s "$work/keywatch.txt" ] || fail "keys reached another client while recording: $(cat "$work/keywatch.txt")"
xdotool key a
wait_for grep -q '^a$' "$work/keywatch.txt" || fail "the control failed: x11_probe never gets keys"
kill "$watcher"
[ "$(macro '.macVal[0:4]')" = "[4,4,5,5]" ] || fail "recorded keys $(macro '.macVal[0:4]')"
[ "$(macro '.macSta[0:4]')" = "[1,2,1,2]" ] || fail "recorded states $(macro '.macSta[0:4]')"
[ "$(macro '.macDly[1]')" -ge 1000 ] || fail "the pause after a was not kept: $(macro '.macDly[0:4]')"

# 3. Bound on the key page: button 4, the macro category, the group and the macro picked from their lists, Apply.
click_control btn_Null
wait_for test "$(field btn_MouseKey_Click4 visible)" = 1 || fail "the key page shows no button 4"
click_control btn_MouseKey_Click4
wait_for test "$(field ver_mousekeysel visible)" = 1 || fail "the assignment panel did not open"
click_control opt_KBSet_Macro
wait_for test "$(field btn_MouseKey_MacroGroupVal visible)" = 1 || fail "the macro category is not shown"
group=$(jq '[.MacroGrpInfo[].GrpName | implode] | index("Examples")' "$document")
index=$(jq '.MacroGrpInfo[] | select((.GrpName | implode) == "Examples") | [.MacroInfo[].MacroName | implode]
            | index("New macro")' "$document")
click_control btn_MouseKey_MacroGroupVal
wait_for test "$(field macrogrp_list_layout visible)" = 1 || fail "the group list did not open"
click_row macrogrp_list_layout "$group" btn_MouseKey_MacroGroupVal
wait_for test "$(field btn_MouseKey_MacroGroupVal text)" = Examples || fail "the group picked is not Examples"
click_control btn_MouseKey_MacroVal
wait_for test "$(field macro_list_layout visible)" = 1 || fail "the macro list did not open"
click_row macro_list_layout "$index" btn_MouseKey_MacroVal
wait_for test "$(field btn_MouseKey_MacroVal text)" = "New macro" || fail "the macro picked is not New macro"
import -window root "$work/bound.png"
click_control btn_Mouse_Apply
# The macro function: type 0x0A, repeat mode 0 (a new macro's repeat type 0), macro number 4.
want=$(expected_slot)
wait_for test "$(key_slot)" = 10,0,4,0 || fail "key slot 4 holds $(key_slot), not the macro function"
wait_for slot_is "$want" || fail "slot 4 holds '$(slot)', not '$want'"

# 4. The release of a (row 2 of the list) gets 250 ms in the item dialog; then the macro's mark is clicked.
click "$window" 491 91
click "$window" 375 279  # the macro's node
click "$window" 916 362  # the row's edit button
dialog=$(xdotool search --sync --onlyvisible --name "^MacroMotifyWnd$" | head -n 1)
click "$dialog" 180 247  # the delay
xdotool key ctrl+a
xdotool type 250
sleep 0.3
import -window root "$work/dialog.png"
click "$dialog" 321 332  # apply
wait_for test "$(macro '.macDly[1]')" = 250 || fail "the edited delay was not stored: $(macro '.macDly[0:4]')"
[ "$(slot)" = "$want" ] || fail "the mouse changed before the mark was clicked"
click "$window" 489 279  # the "ToSave" mark of the macro
want=$(expected_slot)
wait_for slot_is "$want" || fail "after the edit slot 4 holds '$(slot)', not '$want'"
import -window root "$work/edited.png"
"$probe" layout de
wait_for grep -q "keyboard layout: de" "$work/trace.txt" || fail "the program did not follow the session's layout"
stop
echo "recorded, bound, written and edited; slot 4: $want; screenshots in $work"
