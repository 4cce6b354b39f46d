#!/bin/sh
# read_only_folder.sh MOUSECFG_CLI RESOURCE_FOLDER WORK_FOLDER
# The tool on a read-only copy of the resource folder, as a user without privileges (root, as CI runs, ignores
# permissions: the tool then runs through setpriv as nobody). Every command that would store something ends with
# status 1 and names the file, no byte of the configuration changes and nothing is written to the mouse.
set -eu
cli=$1 resources=$2 work=$3
if [ "$(id -u)" = 0 ] && ! command -v setpriv >/dev/null; then
    echo "setpriv (util-linux) is missing: cannot drop root's privileges"
    exit 77
fi
as_user() {
    if [ "$(id -u)" = 0 ]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
    else
        "$@"
    fi
}
fail() { echo "FAILED: $*"; exit 1; }
chmod -R u+w "$work" 2>/dev/null || true
rm -rf "$work"
mkdir -p "$work/res"
for part in Set.ini VeruzUrir MacroDock Home; do
    cp -R "$resources/$part" "$work/res/"
done
chmod -R a+rX,a-w "$work/res"
# The device catalogue is unpacked into Home/Icons at every start: that folder stays writable.
chmod -R a+w "$work/res/Home"
chmod a+rx "$work"
checksums() { (cd "$work/res" && find . -path ./Home -prune -o -type f -exec cksum {} + | sort); }
before=$(checksums)

for command in "set dpi 1 1600" "set sleep-time 7" "reset" "macro bind 3 0 0"; do
    status=0
    # shellcheck disable=SC2086 # the command's words
    as_user "$cli" --simulate cable --trace --res "$work/res" $command >"$work/out" 2>"$work/err" || status=$?
    [ "$status" = 1 ] || fail "'$command' ended with $status: $(cat "$work/err")"
    grep -q "cannot write $work/res/" "$work/err" || fail "'$command' did not name the file: $(cat "$work/err")"
    ! grep -q '^> 06 00 00 0' "$work/err" || fail "'$command' wrote to the mouse"
    [ "$(checksums)" = "$before" ] || fail "'$command' changed the folder"
    echo "'$command': status 1, $(grep -o "cannot write [^:]*" "$work/err" | head -n 1)"
done
chmod -R u+w "$work"
