#!/usr/bin/env bash
# Installs the Quillbox Debian package on this machine as a user would, checks that the desktop
# knows it, and removes it again, checking that nothing is left behind. Needs root.
#   scripts/check-install.sh [--fresh-debian] [quillbox_VERSION_ARCH.deb]
# Without a package it builds one in build/ with cpack, as the README says. With --fresh-debian
# the check runs on a fresh Debian 12 instead: a minimal bookworm made by debootstrap in a
# temporary directory (network needed), given only the tools the checks use, which a desktop
# has anyway.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "check-install.sh installs a package: run it as root" >&2; exit 2; }

fresh=0
if [ "${1:-}" = --fresh-debian ]; then
    fresh=1
    shift
fi
if [ $# -ge 1 ]; then
    deb=$(realpath "$1")
    [ -f "$deb" ] || { echo "no package $1" >&2; exit 2; }
else
    cmake --build build -j"$(nproc)" --target quillbox quillbox-cli quillbox_app_icons quillbox_man_pages
    (cd build && cpack -G DEB > /dev/null)
    deb=$(realpath build/quillbox_*.deb)
fi

if [ "$fresh" -eq 1 ]; then
    command -v debootstrap > /dev/null || apt-get install -y -qq debootstrap > /dev/null
    root=$(mktemp -d /var/tmp/quillbox-debian.XXXXXX)
    chmod 755 "$root" # its own users (apt, man) read below it
    leave() {
        umount "$root/proc" "$root/dev" 2> /dev/null || true
        rm -rf --one-file-system "$root"
    }
    trap leave EXIT
    echo "making a fresh Debian 12 in $root"
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian > "$root.log" 2>&1 \
        || { tail "$root.log"; exit 1; }
    rm -f "$root.log"
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    cp /etc/resolv.conf "$root/etc/"
    mkdir "$root/tmp/scripts"
    cp "$0" "$root/tmp/scripts/check-install.sh"
    cp "$deb" "$root/tmp/"
    chroot "$root" bash -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends desktop-file-utils libglib2.0-bin xdg-utils man-db bash-completion \
        shared-mime-info > /dev/null'
    chroot "$root" bash /tmp/scripts/check-install.sh "/tmp/$(basename "$deb")"
    exit
fi

id=io.github.quillbox.Quillbox
type=application/x-quillbox-notebook
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() { # check DESCRIPTION COMMAND...: runs COMMAND and says whether it held
    if "${@:2}" > "$work/out" 2>&1; then
        echo "ok   $1"
    else
        echo "FAIL $1"; sed 's/^/     /' "$work/out"; failed=1
    fi
}
equals() { [ "$1" = "$2" ] || { echo "got \"$1\", expected \"$2\""; return 1; }; }

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" > "$work/apt.log" 2>&1 \
    || { cat "$work/apt.log"; exit 1; }
echo "ok   apt-get install $(basename "$deb")"
dpkg-query -L quillbox > "$work/installed"

# A sample notebook, a folder file, and a notebook under a name that says nothing of its type.
cd "$work"
quillbox-cli new sample.not > /dev/null
printf 'Begin Folder Information\r\nEnd Folder Information\r\n' > sample.fol
cp sample.not notebook-without-extension

desktop=/usr/share/applications/$id.desktop
check "the desktop entry validates" desktop-file-validate "$desktop"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
program=${exec_line%% *}
check "the desktop entry starts $(command -v "$program")" equals "$(command -v "$program")" /usr/bin/quillbox
# Started as the menu would, the program must still be running, waiting for its user, after 5 s,
# and end on the SIGTERM that follows.
started() {
    local status=0
    HOME=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen timeout -k 10 5 "$program" "$work/sample.not" || status=$?
    equals "$status" 124
}
check "the menu's command line opens a notebook and keeps running" started
# What a file manager shows: shared-mime-info also gives "*.not" to Mup music files, so a
# desktop tells the two apart by the first line (GIO and Qt do; xdg-mime without a desktop
# session goes by the name alone and would say text/x-mup).
filetype() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
check "a .not file is a Quillbox notebook" equals "$(filetype sample.not)" "$type"
check "a .fol file is a Quillbox folder" equals "$(filetype sample.fol)" application/x-quillbox-folder
check "a notebook is known by its first line" equals "$(filetype notebook-without-extension)" "$type"
check "Quillbox opens notebooks by default" equals "$(xdg-mime query default "$type")" "$id.desktop"
check "man quillbox-cli renders" bash -c 'MANWIDTH=80 man quillbox-cli | grep -q "quillbox-cli new notes.not"'
check "man quillbox renders" bash -c 'MANWIDTH=80 man quillbox | grep -q "keep short notes"'
completes() {
    # shellcheck disable=SC1091
    source /usr/share/bash-completion/completions/quillbox-cli
    COMP_WORDS=(quillbox-cli cat sample.not Ma) COMP_CWORD=3
    _quillbox_cli
    equals "${COMPREPLY[*]}" Main
}
check "bash completes a folder path from the notebook" completes
check "the help pages are installed" test -f /usr/share/quillbox/help/index.html
check "the application icon is in the icon theme" test -f /usr/share/icons/hicolor/48x48/apps/$id.png

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq quillbox > "$work/apt.log" 2>&1 \
    || { cat "$work/apt.log"; exit 1; }
echo "ok   apt-get remove quillbox"
left_behind() {
    local path status=0
    while read -r path; do
        if [ -f "$path" ] || { [ -d "$path" ] && [[ $path == *quillbox* ]]; }; then
            echo "$path"; status=1
        fi
    done < "$work/installed"
    return "$status"
}
check "no file of the package is left" left_behind
check "dpkg forgets the package" bash -c '! dpkg-query -W -f="\${db:Status-Abbrev}" quillbox 2>/dev/null | grep -q "^[ir]"'
check "the MIME database forgets the notebook type" bash -c '! grep -rq quillbox /usr/share/mime/globs2 /usr/share/mime/magic'
check "no desktop cache names Quillbox" bash -c '! grep -q quillbox /usr/share/applications/mimeinfo.cache'

[ "$failed" -eq 0 ] && echo "Quillbox installs, works from the desktop and uninstalls cleanly."
exit "$failed"
