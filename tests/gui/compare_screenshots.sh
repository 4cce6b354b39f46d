#!/bin/sh
# compare_screenshots.sh MOUSECFG RESOURCE_FOLDER REFERENCE_FOLDER OUT_FOLDER
# Draws the pictures of screenshots.sh into OUT_FOLDER and compares each with the committed picture of the same name
# in REFERENCE_FOLDER: at most 1 % of the pixels may differ by more than 12 % (text is drawn a little differently
# from machine to machine). With MOUSECFG_UPDATE_REFERENCES=1 the committed pictures are replaced instead.
set -eu
program=$1 resources=$2 reference=$3 out=$4
rm -rf "$out"
sh "$(dirname "$0")/screenshots.sh" "$program" "$resources" "$out"
if [ "${MOUSECFG_UPDATE_REFERENCES:-}" = 1 ]; then
    cp "$out"/*.png "$reference"/
    echo "pictures in $reference replaced"
    exit 0
fi
failed=0
for produced in "$out"/*.png; do
    name=$(basename "$produced")
    committed="$reference/$name"
    if [ ! -f "$committed" ]; then
        echo "FAILED: $name has no committed picture"
        failed=1
        continue
    fi
    size=$(identify -format '%wx%h' "$committed")
    if [ "$(identify -format '%wx%h' "$produced")" != "$size" ]; then
        echo "FAILED: $name is not $size"
        failed=1
        continue
    fi
    differing=$(compare -metric AE -fuzz 12% "$committed" "$produced" null: 2>&1 || true)
    if ! awk -v d="$differing" -v s="$size" 'BEGIN { split(s, a, "x"); exit !(d + 0 <= a[1] * a[2] / 100) }'; then
        echo "FAILED: $name: $differing pixels differ from the committed picture (new one in $out)"
        failed=1
    fi
done
[ "$failed" -eq 0 ] && echo "$(ls "$out" | wc -l) pictures match the committed ones"
exit "$failed"
