#!/usr/bin/env bash
# Runs a command as a client of a headless Weston of its own: a private runtime folder (0700, as
# Wayland wants it, for root in CI too), the compositor's socket in it, and the command with
# WAYLAND_DISPLAY and Qt's Wayland platform (qt6-wayland). Exits with the command's status; with
# 77, which CTest counts as skipped, and a line saying why when Weston cannot start here.
# Usage: under-weston.sh COMMAND [ARG...]
set -uo pipefail
skip() { echo "SKIP: $*" >&2; exit 77; }

if ! command -v weston > /dev/null; then
    echo "weston is not installed; scripts/install-deps.sh installs it" >&2
    exit 1
fi

runtime=$(mktemp -d)
chmod 0700 "$runtime"
log=$runtime/weston.log
weston_pid=
finish() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2> /dev/null && wait "$weston_pid" 2> /dev/null
    rm -rf "$runtime"
}
trap finish EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=wayland-quillbox --idle-time=0 > "$log" 2>&1 &
weston_pid=$!
# Weston makes its socket once it is ready for clients, or ends when it cannot start.
for _ in $(seq 100); do
    [ -S "$runtime/wayland-quillbox" ] && break
    kill -0 "$weston_pid" 2> /dev/null || { weston_pid=; skip "weston cannot start here: $(tail -n 3 "$log" | tr '\n' ' ')"; }
    sleep 0.1
done
[ -S "$runtime/wayland-quillbox" ] || skip "weston made no socket in 10 seconds: $(tail -n 3 "$log" | tr '\n' ' ')"

# The headless compositor has no seat: no keyboard for Qt's Wayland text input to attach to,
# which the keys a test sends would then look for. Input methods stay out of it.
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-quillbox QT_QPA_PLATFORM=wayland QT_IM_MODULE=none "$@"
