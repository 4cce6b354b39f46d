#!/bin/sh
# install_test.sh BUILD_FOLDER
# The install and the Debian package as a user meets them. For each of `cmake --install` into a temporary
# DESTDIR and the package made by cpack and unpacked with dpkg-deb -x:
#  1. the desktop entry and the metainfo pass their validators; the udev rule, man pages, icons, completion and
#     resources are where the desktop looks for them; the package depends on the libraries the programs link;
#  2. the installed tool runs against the virtual mouse, and the installed window (against the system's devices,
#     then against the virtual mouse) paints itself and saves its picture;
#  3. nothing under the prefix changed, the per-user configuration was made, and the simulated runs wrote their
#     own copy (the model file's profile tags are new there) while the real copy stayed byte for byte the same.
# Run as root (CI), the programs run as nobody, so that the prefix is as read-only to them as a system install.
# Needs an X server in DISPLAY that any local user may reach (xvfb-run -s -ac).
set -eu
umask 022  # what an install gets, whatever the caller's mask
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/mousecfg-install.XXXXXX)
chmod 755 "$work"
fail() { echo "FAILED: $*"; echo "work folder kept: $work"; exit 1; }

as_user=""
if [ "$(id -u)" -eq 0 ]; then
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups --"
fi

# Every path under a folder with its mode and size, and every file's checksum.
snapshot() { (cd "$1" && find . -printf '%p %m %s\n' | sort && find . -type f -exec sha256sum {} + | sort); }
profile_tag() { sed -n '/^\[RANDOM\]/,/^\[/s/^Profile0=//p' "$1"; }

check_root() {
    root=$1 label=$2
    prefix=$root/usr
    for file in bin/mousecfg bin/mousecfg-cli lib/udev/rules.d/70-mousecfg.rules \
        share/applications/org.mousecfg.mousecfg.desktop share/metainfo/org.mousecfg.mousecfg.metainfo.xml \
        share/icons/hicolor/scalable/apps/mousecfg.svg share/icons/hicolor/48x48/apps/mousecfg.png \
        share/icons/hicolor/256x256/apps/mousecfg.png share/man/man1/mousecfg.1.gz share/man/man1/mousecfg-cli.1.gz \
        share/bash-completion/completions/mousecfg-cli share/mousecfg/Home/Icons/Ndevice.zip \
        share/mousecfg/VeruzUrir/MouseA/Config/DeviceFeature.ini share/mousecfg/Version/LocalVersion.json \
        libexec/mousecfg/AutoUpdate/AutoUpdate libexec/mousecfg/AutoUpdate/res/version/VersionInfo.json; do
        [ -e "$prefix/$file" ] || fail "$label: $file is missing"
    done
    desktop-file-validate "$prefix/share/applications/org.mousecfg.mousecfg.desktop" || fail "$label: desktop entry"
    appstreamcli validate --no-net "$prefix/share/metainfo/org.mousecfg.mousecfg.metainfo.xml" >"$work/appstream.txt" ||
        fail "$label: metainfo: $(cat "$work/appstream.txt")"
    zcat "$prefix/share/man/man1/mousecfg-cli.1.gz" | groff -man -ww -z || fail "$label: man page"

    home=$work/$label-home
    mkdir -p "$home/run"
    chmod 700 "$home/run"
    [ -z "$as_user" ] || chown -R 65534:65534 "$home"
    snapshot "$root" >"$work/$label-before.txt"
    run() { env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" DISPLAY="$DISPLAY" $as_user "$@"; }

    run "$prefix/bin/mousecfg-cli" --simulate receiver info >"$home/info.txt" 2>&1 ||
        fail "$label: the installed tool: $(cat "$home/info.txt")"
    grep -q "linked: yes" "$home/info.txt" || fail "$label: the tool did not reach the virtual mouse"

    # The first start against the system's devices makes the real per-user copy.
    run timeout 60 "$prefix/bin/mousecfg" --grab "$home/real.png" >"$home/real.txt" 2>&1 ||
        fail "$label: the installed window: $(cat "$home/real.txt")"
    real=$home/.config/mousecfg
    [ -f "$real/Set.ini" ] && [ -f "$real/VeruzUrir/MouseA/Config/MouseConfig.json" ] ||
        fail "$label: no per-user configuration in $real"
    snapshot "$real" >"$work/$label-real.txt"

    run timeout 60 "$prefix/bin/mousecfg" --simulate receiver --grab "$home/simulated.png" >"$home/sim.txt" 2>&1 ||
        fail "$label: the installed window against the virtual mouse: $(cat "$home/sim.txt")"
    run "$prefix/bin/mousecfg-cli" --simulate receiver set dpi 1 1600 >"$home/set.txt" 2>&1 ||
        fail "$label: the installed tool's set: $(cat "$home/set.txt")"
    [ -s "$home/real.png" ] && [ -s "$home/simulated.png" ] || fail "$label: no pictures of the window"

    simulated=$home/.local/state/mousecfg/simulate/res/VeruzUrir/MouseA/Config
    [ "$(profile_tag "$simulated/DeviceFeature.ini")" != 0 ] ||
        fail "$label: the simulated window wrote no profile tags"
    snapshot "$real" | cmp -s - "$work/$label-real.txt" || fail "$label: a simulated run changed the real configuration"
    snapshot "$root" | cmp -s - "$work/$label-before.txt" || fail "$label: something under the prefix changed"
    echo "$label: validators, tool, window, per-user and simulated copies checked"
}

DESTDIR="$work/install" cmake --install "$build" --prefix /usr >/dev/null
check_root "$work/install" install

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.txt" 2>&1) || fail "cpack: $(cat "$work/cpack.txt")"
deb=$(ls "$work"/package/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libhidapi-hidraw0 libudev1 libssl3 libxkbcommon0; do
    echo "$depends" | grep -q "$library" || fail "the package does not depend on $library: $depends"
done
dpkg-deb -x "$deb" "$work/deb"
check_root "$work/deb" package

# Completion, with the two helpers of the bash-completion package stubbed.
completions() {
    bash -c '
        _init_completion() {
            words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; cur=${words[cword]}; prev=${words[cword-1]}
        }
        _filedir() { :; }
        complete() { :; }
        . "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        _mousecfg_cli
        echo "${COMPREPLY[*]}"' sh "$work/deb/usr/share/bash-completion/completions/mousecfg-cli" "$@"
}
[ "$(completions mousecfg-cli --simulate "")" = "cable receiver ble" ] || fail "completion of --simulate"
[ "$(completions mousecfg-cli --trace set li)" = "light-mode light-colour light-colour-enable" ] ||
    fail "completion of set: $(completions mousecfg-cli --trace set li)"
[ "$(completions mousecfg-cli set ripple "")" = "on off" ] || fail "completion of a switch"
[ "$(completions mousecfg-cli --res /x s)" = "show set" ] || fail "completion of commands after --res"

rm -rf "$work"
echo "install and package checked ($(basename "$deb"))"
