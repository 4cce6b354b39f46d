#!/bin/sh
# xvfb_shell.sh MOUSECFG RESOURCE_FOLDER WORK_FOLDER
# The real program on the X server of xvfb-run against the virtual mouse behind its receiver, driven with xdotool
# and with commands for the virtual mouse, checked by screenshots and by the virtual mouse's state:
#  1. the main window appears at 990 x 690 and shows the receiver link (the green indicator);
#  2. the DPI button pressed on the mouse brings the DPI pop-up into the screen's corner;
#  3. the mouse was asked for its device information;
#  4. a second start ends at once with 0 and the first goes on;
#  5. the receiver losing the mouse brings the message window, which goes when the mouse is back;
#  6. a click on the close button (settings: exit, no question) ends the program with 0 after saving.
set -eu
program=$1 resources=$2 work=$3
. "$(dirname "$0")/shell_common.sh"
sed -i 's/^CloseOption=.*/CloseOption=1/; s/^Remind=.*/Remind=0/; s/^DpiPopEn=.*/DpiPopEn=1/; s/^Language=.*/Language=1/' \
    "$work/res/Set.ini"
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
ask() { "$program" --res "$work/res" --sim-command "$1" >/dev/null; }
# The mean of one colour channel ("r", "g", "b") or the spread ("spread") of a region of a screenshot.
measure() {
    if [ "$6" = spread ]; then format='%[fx:standard_deviation]'; else format="%[fx:mean.$6]"; fi
    "$convert" "$1" -crop "$4x$5+$2+$3" -colorspace sRGB -format "$format" info:
}
above() { awk "BEGIN { exit !($1 > $2) }"; }

touch "$work/started"
timeout 90 "$program" --simulate receiver --res "$work/res" 2>"$work/trace.txt" &
pid=$!
window=$(xdotool search --sync --onlyvisible --name "Gaming Mouse Settings" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq 990 ] && [ "$HEIGHT" -eq 690 ] || fail "window size ${WIDTH}x$HEIGHT"

painted() { import -window root "$work/main.png" && above "$(measure "$work/main.png" "$X" "$Y" 990 690 spread)" 0.05; }
wait_for painted || fail "the main window shows no picture"
# The connection indicator sits at 20,330 of the home panel, which starts 57 pixels down.
green_indicator() {
    import -window root "$work/main.png"
    g=$(measure "$work/main.png" $((X + 28)) $((Y + 57 + 338)) 20 20 g)
    r=$(measure "$work/main.png" $((X + 28)) $((Y + 57 + 338)) 20 20 r)
    above "$g" "$(awk "BEGIN { print $r + 0.08 }")"
}
wait_for green_indicator || fail "the indicator does not show the receiver link"

ask "dpi-button 3"
popup_shown() {
    import -window root "$work/popup.png"
    above "$(measure "$work/popup.png" 980 688 300 112 spread)" 0.05
}
wait_for popup_shown || fail "no DPI pop-up in the screen's corner"

ask "dump $work/mouse.json"
grep -q '"0x81"' "$work/mouse.json" || fail "the mouse was not asked for its device information"

timeout 10 "$program" --res "$work/res" || fail "the second start did not end with 0"
kill -0 "$pid" || fail "the first instance ended"

ask "link off"
xdotool search --sync --onlyvisible --name "^msgwnd$" >/dev/null || fail "no message window for the lost mouse"
import -window root "$work/wireless.png"
ask "link on"
message_gone() { ! xdotool search --onlyvisible --name "^msgwnd$" >/dev/null 2>&1; }
wait_for message_gone || fail "the message window stayed after the mouse came back"

# The close button: 36 x 36 at the caption's right end (10 pixels inset).
sleep 0.5
xdotool mousemove --window "$window" 962 28 click 1
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program did not end with 0 by its close button (status $status)"
[ "$work/res/VeruzUrir/MouseA/Config/MouseConfig.json" -nt "$work/started" ] || fail "the configuration was not saved"
echo "main window, DPI pop-up, second start, wireless message and close checked; screenshots in $work"
