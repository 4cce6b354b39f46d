#!/bin/sh
# screenshots.sh MOUSECFG RESOURCE_FOLDER OUT_FOLDER
# Pictures of the main window against the virtual mouse in both skins and three languages (English, Simplified
# Chinese, German), drawn on the offscreen platform: OUT_FOLDER/main_<skin>_<language>.png as the window opens, and
# OUT_FOLDER/keypage_<skin>_<language>.png with the assignment panel open for button 3 (clicked by a request to the
# running program).
set -eu
program=$1 resources=$2 out=$3
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$out" "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
ask() { "$program" --res "$work/res" --ask "$1"; }
# Waits (10 s at most) until the answer to a request contains a text.
wait_answer() {
    for attempt in $(seq 1 50); do
        case $(ask "$1" 2>/dev/null) in *"$2"*) return 0 ;; esac
        sleep 0.2
    done
    echo "screenshots: no '$2' in the answer to '$1'" >&2
    return 1
}
for skin in res_black res_white; do
    for language in 1:en 0:cn 4:de; do
        rm -rf "$work/res"
        cp -R "$resources" "$work/res"
        sed -i "s/^Language=.*/Language=${language%%:*}/" "$work/res/Set.ini"
        sed -i "s/^ResPath=.*/ResPath=$skin/" "$work/res/VeruzUrir/MouseA/Config/DeviceFeature.ini"
        name="${skin#res_}_${language#*:}"
        "$program" --simulate receiver --res "$work/res" 2>/dev/null &
        pid=$!
        # The window is shown and the run that brings the mouse in step with the configuration has ended.
        wait_answer status visible=1
        wait_answer "control text_apply" visible=0
        sleep 0.5
        ask "grab $out/main_$name.png" >/dev/null
        ask "click btn_MouseKey_Click3" >/dev/null
        wait_answer "control ver_mousekeysel" visible=1
        ask "grab $out/keypage_$name.png" >/dev/null
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        pid=
    done
done
