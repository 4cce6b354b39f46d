#!/bin/sh
# xvfb_desktop.sh MOUSECFG RESOURCE_FOLDER WORK_FOLDER
# The real program on the X server of xvfb-run with a window manager (openbox) and no tray, against the virtual
# mouse behind its cable, checked with what the window manager and the screen see:
#  1. the DPI pop-up's rounded corners show the desktop behind them (a known colour), not a grey square;
#  2. resting the cursor on an icon button shows its tip, with text in it;
#  3. the no-device notice is a dialog transient for the main window, out of the task bar, and stays above the
#     main window when the main window is clicked;
#  4. dragging the caption moves the window (through the window manager) and the window still takes clicks;
#  5. the minimise button minimises and flashes the task bar entry;
#  6. closing to the tray on a desktop without a tray minimises the window and keeps the program running.
set -eu
program=$1 resources=$2 work=$3
. "$(dirname "$0")/shell_common.sh"
sed -i 's/^CloseOption=.*/CloseOption=0/; s/^Remind=.*/Remind=0/; s/^DpiPopEn=.*/DpiPopEn=1/; s/^Language=.*/Language=1/' \
    "$work/res/Set.ini"
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
ask() { "$program" --res "$work/res" --sim-command "$1" >/dev/null; }
status_is() { [ "$("$program" --res "$work/res" --ask status 2>/dev/null)" = "$1" ]; }
pixel() { "$convert" "$work/screen.png" -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" -crop "1x1+$1+$2" info:; }
shot() { import -window root "$work/screen.png"; }
# The mean spread of the colours of a region of the last screenshot (text or pictures in it make it large).
spread() { "$convert" "$work/screen.png" -crop "$3x$4+$1+$2" -colorspace sRGB -format '%[fx:standard_deviation]' info:; }
above() { awk "BEGIN { exit !($1 > $2) }"; }
has_state() { xprop -id "$1" _NET_WM_STATE | grep -q "$2"; }
hex() { printf '0x%x' "$1"; }

# The window manager, then a magenta desktop behind everything (the window manager clears it as it starts).
openbox --sm-disable >"$work/openbox.txt" 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
wait_for xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || fail "the window manager did not start"
"$convert" -size 16x16 xc:'#FF00FF' "$work/magenta.png"
magenta_desktop() {
    timeout 10 display -window root "$work/magenta.png" || true  # sets the background, then reports 1
    shot && [ "$(pixel 5 5)" = "255,0,255" ]
}
wait_for magenta_desktop || fail "the desktop background could not be set"

timeout 100 "$program" --simulate cable --res "$work/res" 2>"$work/trace.txt" &
pid=$!
main=$(xdotool search --sync --onlyvisible --name "Gaming Mouse Settings" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$main")"
mainX=$X mainY=$Y

# 1. The DPI pop-up in the bottom-right corner of the 1280 x 800 screen, 300 x 112 with corners of radius 14.
ask "dpi-button 3"
popup_up() { shot && above "$(spread 1000 700 260 90)" 0.05; }
wait_for popup_up || fail "no DPI pop-up in the screen's corner"
sleep 0.5  # the show animation (300 ms) ends on the pop-up's own picture
shot
for corner in "1279 799" "1279 688" "980 799"; do
    [ "$(pixel $corner)" = "255,0,255" ] || fail "the pop-up's corner at $corner shows $(pixel $corner), not the desktop"
done
[ "$(pixel 1270 790)" != "255,0,255" ] || fail "the pop-up is not drawn inside its corners"

# 2. The tip of the main window's close button after the cursor rests on it.
xdotool mousemove $((mainX + 962)) $((mainY + 28))
# The tip's geometry and a screenshot with it on screen; a busy machine may let it time out in between, so the
# whole is tried again until one pass sees it throughout.
tip_seen() {
    tip=$(xdotool search --onlyvisible --name "^Close$" 2>/dev/null | head -n 1)
    [ -n "$tip" ] && geometry=$(xdotool getwindowgeometry --shell "$tip" 2>/dev/null) && eval "$geometry" && shot &&
        [ -n "$(xdotool search --onlyvisible --name "^Close$" 2>/dev/null)" ]
}
wait_for tip_seen || fail "no tip appeared on the close button"
[ "$Y" -gt $((mainY + 28)) ] || fail "the tip covers the cursor"
above "$(spread "$X" "$Y" "$WIDTH" "$HEIGHT")" 0.05 || fail "the tip shows no text"
xdotool mousemove $((mainX + 500)) $((mainY + 400))

# 3. The no-device notice: transient for the main window, a dialog out of the task bar, above the main window.
ask "unplug cable"
notice=$(xdotool search --sync --onlyvisible --name "^msgwnd$" | head -n 1)
xprop -id "$notice" WM_TRANSIENT_FOR | grep -q "$(hex "$main")" || fail "the notice is not transient for the main window"
xprop -id "$notice" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG || fail "the notice is not a dialog"
has_state "$notice" _NET_WM_STATE_SKIP_TASKBAR || fail "the notice has a task bar entry"
has_state "$main" _NET_WM_STATE_SKIP_TASKBAR && fail "the main window has no task bar entry"
xdotool mousemove $((mainX + 120)) $((mainY + 600)) click 1
stacked_above() {
    order=$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep '^0x')
    [ "$(echo "$order" | grep -n "^$(hex "$notice")$" | cut -d: -f1)" -gt \
      "$(echo "$order" | grep -n "^$(hex "$main")$" | cut -d: -f1)" ]
}
sleep 0.3
stacked_above || fail "a click on the main window raised it above its notice"
ask "plug cable"
notice_gone() { ! xdotool search --onlyvisible --name "^msgwnd$" >/dev/null 2>&1; }
wait_for notice_gone || fail "the notice stayed after the mouse came back"

# 4. A drag on an empty part of the caption moves the window by as much as the pointer moved. The window manager
# takes the move over after the first motion and moves the window from where the pointer then is; the pause lets
# it take the pointer before the rest of the drag (the first motion's pixel may be lost).
xdotool mousemove $((mainX + 500)) $((mainY + 20)) mousedown 1
xdotool mousemove_relative -- 1 1
sleep 0.5
for step in 1 2 3 4 5 6; do xdotool mousemove_relative -- 10 4; sleep 0.05; done
xdotool mouseup 1
moved() {
    eval "$(xdotool getwindowgeometry --shell "$main")"
    [ $((X - mainX)) -ge 60 ] && [ $((X - mainX)) -le 61 ] && [ $((Y - mainY)) -ge 24 ] && [ $((Y - mainY)) -le 25 ]
}
wait_for moved || fail "dragging the caption by 61,25 moved the window by $((X - mainX)),$((Y - mainY))"
mainX=$X mainY=$Y

# 5. The minimise button.
xdotool mousemove $((mainX + 918)) $((mainY + 28)) click 1
wait_for has_state "$main" _NET_WM_STATE_HIDDEN || fail "the minimise button did not minimise"
wait_for has_state "$main" _NET_WM_STATE_DEMANDS_ATTENTION || fail "minimising did not flash the task bar entry"
"$program" --res "$work/res" --ask restore >/dev/null
wait_for status_is "visible=1 hidden_to_tray=0 minimized=0" || fail "the window did not come back"
sleep 0.5

# 6. Close to the tray without a tray: minimised, still running, never hidden.
xdotool mousemove $((mainX + 962)) $((mainY + 28)) click 1
wait_for status_is "visible=1 hidden_to_tray=0 minimized=1" || fail "closing without a tray did not minimise"
has_state "$main" _NET_WM_STATE_HIDDEN || fail "the window manager was not asked to minimise"
kill -0 "$pid" || fail "the program ended"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "pop-up corners, tip, owned notice, caption drag, minimise flash and closing without a tray checked; screenshots in $work"
