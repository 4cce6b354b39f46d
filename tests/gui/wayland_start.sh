#!/bin/sh
# wayland_start.sh MOUSECFG RESOURCE_FOLDER WORK_FOLDER
# The program as a native Wayland client: a headless compositor (weston) on a private socket, the program started
# on Qt's Wayland platform against the virtual mouse. It must come up as a top-level window with its title and
# draw itself. Skipped (77) where there is no compositor or no Wayland platform plug-in.
set -eu
program=$1 resources=$2 work=$3
. "$(dirname "$0")/shell_common.sh"
command -v weston >/dev/null 2>&1 || { echo "SKIPPED: no weston"; exit 77; }
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
ls "$plugins"/platforms/libqwayland-*.so >/dev/null 2>&1 || { echo "SKIPPED: no Wayland platform plug-in"; exit 77; }
sed -i 's/^Language=.*/Language=1/' "$work/res/Set.ini"

unset DISPLAY
weston --backend=headless-backend.so --socket=mousecfg-test --idle-time=0 >"$work/weston.txt" 2>&1 &
compositor=$!
trap 'kill $compositor 2>/dev/null || true' EXIT
wait_for test -S "$work/run/mousecfg-test" || { echo "SKIPPED: the compositor did not start"; cat "$work/weston.txt"; exit 77; }

# The protocol log shows what the program asked the compositor for.
WAYLAND_DISPLAY=mousecfg-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 \
    timeout 60 "$program" --simulate receiver --res "$work/res" --grab "$work/main.png" 2>"$work/trace.txt" ||
    fail "the program did not start on Wayland (exit $?); see $work/trace.txt"
grep -q "xdg_toplevel@[0-9]*\.set_title(\"Gaming Mouse Settings" "$work/trace.txt" ||
    fail "no top-level window with the program's title"
grep -q "wl_surface@[0-9]*\.commit()" "$work/trace.txt" || fail "the window never committed a picture"
[ "$(stat -c %s "$work/main.png")" -gt 10000 ] || fail "the window's picture is empty"
echo "started on Wayland; picture in $work/main.png"
