#!/usr/bin/env bash
# Checks the Debian packages quillbox and quillbox-cli as a user would meet them, and removes them
# again, checking that nothing is left behind. Needs root.
#   scripts/check-install.sh [--fresh-debian] [quillbox_VERSION_ARCH.deb quillbox-cli_VERSION_ARCH.deb]
# Without packages it builds them in build/debs with scripts/build-debs.sh (dpkg-buildpackage, as
# the README says). lintian checks them first, where it is installed. Then quillbox-cli is installed
# alone, must bring in no Qt or X11 package and must work; then quillbox: its desktop entry, its
# start, the file types of notebooks (and of Mup files, which share "*.not"), the manual pages and
# the completion. With --fresh-debian the checks run on a fresh Debian 12 instead: a minimal
# bookworm made by debootstrap in a temporary directory (network needed), given only the tools
# the checks use, which a desktop has anyway.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "check-install.sh installs packages: run it as root" >&2; exit 2; }

fresh=0
if [ "${1:-}" = --fresh-debian ]; then
    fresh=1
    shift
fi
if [ $# -eq 2 ]; then
    deb_gui=$(realpath "$1")
    deb_cli=$(realpath "$2")
    for deb in "$deb_gui" "$deb_cli"; do
        [ -f "$deb" ] || { echo "no package $deb" >&2; exit 2; }
    done
    if [ "$(dpkg-deb -f "$deb_gui" Package)" = quillbox-cli ]; then
        deb=$deb_gui deb_gui=$deb_cli deb_cli=$deb
    fi
elif [ $# -eq 0 ]; then
    echo "building the packages in build/debs"
    changes=$(scripts/build-debs.sh build/debs)
    version=$(sed -n 's/^Version: //p' "$changes")
    deb_gui=$PWD/build/debs/quillbox_${version}_$(dpkg --print-architecture).deb
    deb_cli=$PWD/build/debs/quillbox-cli_${version}_$(dpkg --print-architecture).deb
else
    echo "usage: check-install.sh [--fresh-debian] [QUILLBOX.deb QUILLBOX-CLI.deb]" >&2
    exit 2
fi
[ "$(dpkg-deb -f "$deb_gui" Package) $(dpkg-deb -f "$deb_cli" Package)" = "quillbox quillbox-cli" ] \
    || { echo "give the packages quillbox and quillbox-cli" >&2; exit 2; }

if [ "${QUILLBOX_CHECK_INSIDE:-0}" != 1 ]; then
    if command -v lintian > /dev/null; then
        log=$(mktemp)
        if lintian -I --pedantic --fail-on error,warning,info,pedantic "$deb_gui" "$deb_cli" > "$log" 2>&1; then
            echo "ok   lintian -I --pedantic: no tag that is not overridden"
            rm -f "$log"
        else
            echo "FAIL lintian -I --pedantic"; grep -v 'root privileges' "$log" | sed 's/^/     /'
            rm -f "$log"
            exit 1
        fi
    else
        echo "lintian is not installed: the packages' lintian check is left out"
    fi
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
    cp "$deb_gui" "$deb_cli" "$root/tmp/"
    chroot "$root" bash -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends desktop-file-utils libglib2.0-bin xdg-utils man-db bash-completion \
        shared-mime-info libfile-mimeinfo-perl > /dev/null'
    chroot "$root" env QUILLBOX_CHECK_INSIDE=1 bash /tmp/scripts/check-install.sh \
        "/tmp/$(basename "$deb_gui")" "/tmp/$(basename "$deb_cli")"
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
install() { # install DEB: installs it as a user would, with what it depends on
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$1" > "$work/apt.log" 2>&1 \
        || { cat "$work/apt.log"; exit 1; }
    echo "ok   apt-get install $(basename "$1")"
}
installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | sed -n 's/^ii  *//p' | sort; }

# quillbox-cli alone: what a machine without a desktop that scripts notebooks installs.
installed > "$work/before"
install "$deb_cli"
installed > "$work/after"
comm -13 "$work/before" "$work/after" > "$work/new"
check "quillbox-cli alone leaves out quillbox" bash -c '! grep -qx quillbox "$0"' "$work/new"
check "quillbox-cli brings in no Qt or X11 package" bash -c '! grep -Ei "qt|x11|xcb|libgl" "$0"' "$work/new"
check "quillbox-cli loads no Qt or X11 library" bash -c '! ldd /usr/bin/quillbox-cli | grep -Ei "qt|x11|xcb|libgl"'
cd "$work"
cli_works() {
    quillbox-cli new sample.not && quillbox-cli add sample.not Main "Installed" && quillbox-cli cat sample.not Main | tr -d "\r" | grep -qx Installed
}
check "quillbox-cli makes a notebook and adds a note" cli_works
check "quillbox-cli speaks German from its installed catalogue" bash -c \
    'LANGUAGE=de LC_ALL=C.UTF-8 quillbox-cli frobnicate 2>&1 | grep -q "unbekannter Befehl"'
check "man quillbox-cli renders" bash -c 'MANWIDTH=80 man quillbox-cli | grep -q "quillbox-cli new notes.not"'
completes() {
    # shellcheck disable=SC1091
    source /usr/share/bash-completion/completions/quillbox-cli
    COMP_WORDS=(quillbox-cli cat sample.not Ma) COMP_CWORD=3 COMP_LINE="quillbox-cli cat sample.not Ma" COMP_POINT=30
    _quillbox_cli quillbox-cli Ma sample.not
    equals "${COMPREPLY[*]}" Main
}
check "bash completes a folder path from the notebook" completes

# Then the window.
install "$deb_gui"
dpkg-query -L quillbox quillbox-cli > "$work/installed"
quillbox-cli export --format fol -o sample.fol sample.not Main
cp sample.not notebook-without-extension
# Mup files, which shared-mime-info also gives "*.not": one opened by a comment, one by Mup's own
# first line.
printf '// Twinkle, twinkle\nscore\n  time=4/4\nmusic\n1: 4c;c;g;g;\nbar\n' > mup-comment.not
printf '//!Mup-Arkkra\nscore\nmusic\n1: 4c;d;e;f;\nbar\n' > mup-header.not

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
# What a file manager shows (GIO), and what xdg-mime says in a GNOME-like session (GIO again) and
# elsewhere (File::MimeInfo's mimetype, where libfile-mimeinfo-perl is installed).
gio_type() { GIO_USE_VFS=local gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
lookups=("gio info|gio_type" "xdg-mime in GNOME|env XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype")
if command -v mimetype > /dev/null; then
    lookups+=("xdg-mime elsewhere|env XDG_CURRENT_DESKTOP=X-Generic xdg-mime query filetype")
fi
for lookup in "${lookups[@]}"; do
    read -r -a ask <<< "${lookup#*|}"
    name=${lookup%%|*}
    check "$name: a .not file is a Quillbox notebook" equals "$("${ask[@]}" sample.not)" "$type"
    check "$name: a .fol file is a Quillbox folder" equals "$("${ask[@]}" sample.fol)" application/x-quillbox-folder
    check "$name: a notebook is known by its first line" equals "$("${ask[@]}" notebook-without-extension)" "$type"
    check "$name: a Mup file opened by a comment stays Mup" equals "$("${ask[@]}" mup-comment.not)" text/x-mup
    check "$name: a Mup file with Mup's first line stays Mup" equals "$("${ask[@]}" mup-header.not)" text/x-mup
done
check "Quillbox opens notebooks by default" equals "$(xdg-mime query default "$type")" "$id.desktop"
check "man quillbox renders" bash -c 'MANWIDTH=80 man quillbox | grep -q "keep short notes"'
check "the help pages are installed" test -f /usr/share/quillbox/help/index.html
check "the application icon is in the icon theme" test -f /usr/share/icons/hicolor/48x48/apps/$id.png
check "each package has its copyright and changelog" \
    test -f /usr/share/doc/quillbox/copyright -a -f /usr/share/doc/quillbox/changelog.gz \
    -a -f /usr/share/doc/quillbox-cli/copyright -a -f /usr/share/doc/quillbox-cli/changelog.gz

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq quillbox quillbox-cli > "$work/apt.log" 2>&1 \
    || { cat "$work/apt.log"; exit 1; }
echo "ok   apt-get remove quillbox quillbox-cli"
left_behind() {
    local path status=0
    while read -r path; do
        if [ -f "$path" ] || { [ -d "$path" ] && [[ $path == *quillbox* ]]; }; then
            echo "$path"; status=1
        fi
    done < "$work/installed"
    return "$status"
}
check "no file of the packages is left" left_behind
for package in quillbox quillbox-cli; do
    check "dpkg forgets $package" bash -c '! dpkg-query -W -f="\${db:Status-Abbrev}" "$0" 2>/dev/null | grep -q "^[ir]"' "$package"
done
check "the MIME database forgets the notebook type" bash -c '! grep -rq quillbox /usr/share/mime/globs2 /usr/share/mime/magic'
check "no desktop cache names Quillbox" bash -c '! grep -q quillbox /usr/share/applications/mimeinfo.cache'

[ "$failed" -eq 0 ] && echo "Quillbox installs, quillbox-cli works alone, the window works from the desktop, and both uninstall cleanly."
exit "$failed"
