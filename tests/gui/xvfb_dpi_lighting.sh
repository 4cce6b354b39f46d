#!/bin/sh
# xvfb_dpi_lighting.sh MOUSECFG RESOURCE_FOLDER WORK_FOLDER
# The advanced and lighting pages of the real program on the X server of xvfb-run, against the virtual mouse on the
# cable, driven by real pointer and key events (xdotool) and checked by what the virtual mouse then holds:
#  1. the DPI slider dragged: nothing reaches the mouse while it moves; let go, the mouse holds the level's new DPI;
#  2. a DPI value typed into level 1's field and Return: the mouse holds the nearest gear (1625 -> 1650);
#  3. a colour picked for level 3 in the colour picker: the mouse holds it (green, red, blue);
#  4. the lighting mode chosen in the mode list: the mouse's lighting header holds its code;
#  5. a sleep time typed: the mouse holds it in seconds;
#  6. the DPI button pressed on the virtual mouse: the page shows the level it went to.
set -eu
program=$1 resources=$2 work=$3
. "$(dirname "$0")/shell_common.sh"
sed -i 's/^Language=.*/Language=1/; s/^CloseOption=.*/CloseOption=1/; s/^Remind=.*/Remind=0/; s/^DpiPopEn=.*/DpiPopEn=0/' \
    "$work/res/Set.ini"
feature="$work/res/VeruzUrir/MouseA/Config/DeviceFeature.ini"

click() {
    click_control "$1"
    sleep 0.3
}
# Types TEXT into edit NAME and presses Return.
type_into() {
    click "$1"
    xdotool key ctrl+a BackSpace
    xdotool type "$2"
    xdotool key Return
}
dump() { "$program" --res "$work/res" --sim-command "dump $work/mouse.json" >/dev/null; }
# A value of the mouse's state (a jq expression on the dump).
mouse() { dump && jq -r "$1" "$work/mouse.json"; }
is() { [ "$(mouse "$1")" = "$2" ]; }
# The 16-bit sensor value of DPI level N in the mouse's DPI table.
sensor_of_level() { mouse ".dpiTable[$((2 + 2 * $1))] + 256 * .dpiTable[$((3 + 2 * $1))]"; }
# The sensor value of a listed gear of the virtual mouse's chip (6) whose DPI is TEXT.
sensor_of_dpi() { sed -n '/^\[Chip6\]/,/^\[/p' "$feature" | tr -d '\r' | sed -n "s/^[0-9]*=$1,//p" | head -n 1; }

timeout 150 "$program" --simulate cable --res "$work/res" 2>"$work/trace.txt" &
pid=$!
xdotool search --sync --onlyvisible --name "Gaming Mouse Settings" >/dev/null
wait_for test "$(field opt_MousePage_Adv visible)" = 1 || fail "the DPI page is not offered"
wait_for test "$(mouse '.profileTags[0]')" != 0 || fail "the start-up run did not write the mouse"
click opt_MousePage_Adv
wait_for test "$(field btn_MouseAdv_DpiSlider visible)" = 1 || fail "the DPI page does not show"
import -window root "$work/advanced.png"

# 1. The slider, pressed on its track near the left end and dragged to about a third of it.
before=$(mouse '.framesReceived["0x06"] // 0')
locate btn_MouseAdv_DpiSlider
xdotool mousemove --sync $((x + 12)) $((y + h / 2)) mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove --sync $((x + 12 + step * (w / 3 - 12) / 6)) $((y + h / 2))
    sleep 0.1
done
dragged=$(field lab_MouseAdv_DpiSliderValue text)
[ "$(mouse '.framesReceived["0x06"] // 0')" = "$before" ] || fail "the DPI table was written while the slider moved"
xdotool mouseup 1
want=$(sensor_of_dpi "$dragged")
[ -n "$want" ] || fail "the slider shows '$dragged', no gear of the chip"
wait_for test "$(sensor_of_level 1)" = "$want" || fail "level 2 of the mouse holds $(sensor_of_level 1), not $dragged DPI"
[ "$(mouse '.framesReceived["0x06"]')" = $((before + 1)) ] || fail "the release wrote the DPI table more than once"

# 2. A typed value: the nearest gear (halfway goes up).
type_into MouseAdv_Edit0 1625
want=$(sensor_of_dpi 1650)
wait_for test "$(sensor_of_level 0)" = "$want" || fail "level 1 of the mouse holds $(sensor_of_level 0), not 1650 DPI"
[ "$(field chk_MouseAdv_SelDPI0 text)" = 1650 ] || fail "level 1 shows $(field chk_MouseAdv_SelDPI0 text)"

# 3. The colour picker over the window, 410 and 200 pixels from its corner: the fourth default colour (0x34D399).
locate root
origin_x=$x origin_y=$y
click btn_MouseAdv_Color2
sleep 1
import -window root "$work/picker.png"
xdotool mousemove --sync $((origin_x + 410 + 162)) $((origin_y + 200 + 334)) click 1
sleep 0.3
xdotool mousemove --sync $((origin_x + 410 + 304)) $((origin_y + 200 + 444)) click 1
wait_for is '.dpiColours[6:9] | map(tostring) | join(",")' "211,52,153" ||
    fail "level 3's colour in the mouse is $(mouse '.dpiColours[6:9]')"

# 4. The lighting mode: the mode list opened, "Wave" (the fifth item) clicked.
click opt_MousePage_Light
wait_for test "$(field btn_MouseLed_LedMode visible)" = 1 || fail "the lighting page does not show"
locate btn_MouseLed_LedMode
list_y=$((y + h))
xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
sleep 0.6
import -window root "$work/modes.png"
xdotool mousemove --sync $((x + w / 2)) $((list_y + 4 * 32 + 16)) click 1
wait_for is '.lightHeader[0] % 64' $((129 + 4 - 128)) || fail "the mouse's lighting mode is $(mouse '.lightHeader[0]')"
wait_for test "$(field LedDirectionButton visible)" = 1 || fail "the page does not show the wave's direction"
import -window root "$work/lighting.png"

# 5. The sleep time.
click opt_MousePage_Adv
type_into Edit_Sleep_Time 25
wait_for is '.sleepSeconds' 1500 || fail "the mouse sleeps after $(mouse '.sleepSeconds') s"

# 6. The mouse's own DPI button: the page follows.
"$program" --res "$work/res" --sim-command "dpi-button 5" >/dev/null
wait_for test "$(field chk_MouseAdv_SelDPI4 selected)" = 1 || fail "the page does not show level 5 as active"
[ "$(field lab_MouseAdv_DpiSliderValue text)" = 6400 ] || fail "the slider shows $(field lab_MouseAdv_DpiSliderValue text)"
import -window root "$work/followed.png"

kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "slider, typed DPI, colour, lighting mode, sleep time and the mouse's DPI button checked; screenshots in $work"
