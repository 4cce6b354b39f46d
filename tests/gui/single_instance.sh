#!/bin/sh
# single_instance.sh MOUSECFG RESOURCE_FOLDER WORK_FOLDER
# Two processes of the real program on the offscreen platform: the first starts out of sight (a silent start with
# both autostart settings on; the offscreen platform has no tray, so it starts minimised); a second start ends at
# once with 0 and brings the first one back.
set -eu
program=$1 resources=$2 work=$3
. "$(dirname "$0")/shell_common.sh"
export QT_QPA_PLATFORM=offscreen
sed -i 's/^AutomaticallyOpenEn=.*/AutomaticallyOpenEn=1/; s/^AutomaticallyHideEn=.*/AutomaticallyHideEn=1/' "$work/res/Set.ini"
status_is() { [ "$("$program" --res "$work/res" --ask status 2>/dev/null)" = "$1" ]; }
timeout 60 "$program" --simulate cable --res "$work/res" -silent &
pid=$!
wait_for status_is "visible=1 hidden_to_tray=0 minimized=1" || fail "the silent start without a tray did not minimise"
started=$(date +%s%N)
timeout 10 "$program" --res "$work/res" || fail "the second start did not end with 0"
elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
kill -0 "$pid" || fail "the first instance ended"
wait_for status_is "visible=1 hidden_to_tray=0 minimized=0" || fail "the first instance did not come back"
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "second start ended with 0 after ${elapsed} ms and brought the first instance back"
