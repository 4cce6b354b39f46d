#!/bin/sh
# screenshots.sh MOUSECFG RESOURCE_FOLDER OUT_FOLDER
# Pictures of the main window against the virtual mouse in both skins and three languages (English, Simplified
# Chinese, German), drawn on the offscreen platform: OUT_FOLDER/main_<skin>_<language>.png.
set -eu
program=$1 resources=$2 out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
for skin in res_black res_white; do
    for language in 1:en 0:cn 4:de; do
        rm -rf "$work/res"
        cp -R "$resources" "$work/res"
        sed -i "s/^Language=.*/Language=${language%%:*}/" "$work/res/Set.ini"
        sed -i "s/^ResPath=.*/ResPath=$skin/" "$work/res/VeruzUrir/MouseA/Config/DeviceFeature.ini"
        "$program" --simulate receiver --res "$work/res" --grab "$out/main_${skin#res_}_${language#*:}.png" 2>/dev/null
    done
done
