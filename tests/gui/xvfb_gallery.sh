#!/bin/sh
# xvfb_gallery.sh MOUSECFG RESOURCE_FOLDER SCREENSHOT
# Runs the real program with the gallery skin on the X server of xvfb-run, checks that the window appears and
# draws more than a plain colour, then closes it with a real click on its close button (xdotool) and expects
# the program to end by itself.
set -eu
program=$1 resources=$2 shot=$3
# timeout ends a program that does not close; the test then fails on its exit status (124).
timeout 40 "$program" --skin-test "$resources/SkinGallery/gallery.xml" &
pid=$!
window=$(xdotool search --sync --onlyvisible --name "mousecfg skin test" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq 900 ] && [ "$HEIGHT" -eq 640 ] || { echo "unexpected window size ${WIDTH}x$HEIGHT"; exit 1; }
# The first paint follows the window's appearance; a screenshot of an unpainted window is one colour.
for attempt in 1 2 3 4 5 6 7 8 9 10; do
    import -window root "$shot"
    spread=$(convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -colorspace Gray -format '%[fx:standard_deviation]' info:)
    if awk "BEGIN { exit !($spread > 0.05) }"; then
        break
    fi
    [ "$attempt" -lt 10 ] || { echo "the window shows no picture (spread $spread)"; exit 1; }
    sleep 0.5
done
# The close button sits in the caption's right end (skin: 36 x 28, 8 pixels from the right and the top).
xdotool mousemove --window "$window" $((WIDTH - 8 - 18)) 22 click 1
if wait "$pid"; then
    status=0
else
    status=$?
fi
[ "$status" -eq 0 ] || { echo "the program did not close by its close button (status $status)"; exit 1; }
echo "gallery shown and closed; screenshot in $shot"
