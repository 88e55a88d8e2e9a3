#!/usr/bin/env bash
# Starts Quillbox on a virtual display with its own accessibility bus and prints what a screen
# reader finds over AT-SPI (scripts/atspi-tree.py), first as the window opens and then after
# each menu item ("Folder/New Folder...") or button ("Skip Tutorial") given, chosen through
# AT-SPI. Fails when a focusable control has no name.
# Needs at-spi2-core and python3-dbus (scripts/install-deps.sh --accessibility).
# Usage: scripts/atspi-check.sh [BUILD-DIR] [CHOICE...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true

state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
cp tests/data/new-notebook.not "$state/notes.not"

export HOME="$state" XDG_CONFIG_HOME="$state/config" XDG_STATE_HOME="$state/state" XDG_DATA_HOME="$state/data"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- xvfb-run -a -s '-screen 0 1280x800x24' bash -c '
    "$1/src/app/quillbox" "$2" &
    program=$!
    status=0
    /usr/bin/python3 scripts/atspi-tree.py Quillbox "${@:3}" || status=$?
    kill "$program"
    exit "$status"
' atspi-check "$build" "$state/notes.not" "$@"
