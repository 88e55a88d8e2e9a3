#!/usr/bin/env bash
# Opens the same notebook in Quillbox and, when they are installed, in CherryTree and Zim, each
# on a virtual X display (Xvfb), and prints how long each took to be ready and its peak memory.
#
#   bench/peers.sh [--runs N] [--folders N] [--mb N] [--build-dir DIR]
#
# Ready is the moment a program's window is on the display and it has stopped working: the last
# tick of processor time it used before a full second without any (so Zim's check of its index
# counts, as a user waits for it). Each program runs once to warm its settings and the file cache,
# then N times; the median is printed. Needs xvfb and xdotool.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build"
runs=3
folders=10000
mb=50
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift ;;
    --folders) folders=$2; shift ;;
    --mb) mb=$2; shift ;;
    --build-dir) build=$2; shift ;;
    *) sed -n '2,10p' "$0" >&2; exit 2 ;;
    esac
    shift
done
gen_corpus=${GEN_CORPUS:-$repo/../shared/bench/gen_corpus.py}
for tool in Xvfb xdotool; do
    command -v "$tool" > /dev/null || { echo "peers.sh needs $tool (apt-get install xvfb xdotool)" >&2; exit 2; }
done
[ -x "$build/src/app/quillbox" ] || cmake --build "$build" -j"$(nproc)" --target quillbox > /dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/quillbox-peers.XXXXXX")
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2> /dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
python3 "$gen_corpus" --folders "$folders" --mb "$mb" --seed 1 --out "$work" --name large --formats not,ctd,zim > /dev/null
sleep 1

# Processor ticks a process has used so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2> /dev/null || echo -1; }

# Starts a program with its own home, waits until it is ready, and prints its ready seconds and
# its peak resident memory in MB.
ready() {
    local home=$1 start now pid seen=0 last_ticks=-1 last_change quiet t
    shift
    start=$(date +%s%N)
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
        XDG_CACHE_HOME=$home/.cache XDG_STATE_HOME=$home/.local/state XDG_RUNTIME_DIR=$home/runtime \
        "$@" > /dev/null 2>&1 &
    pid=$!
    last_change=$start
    while :; do
        sleep 0.05
        now=$(date +%s%N)
        t=$(ticks "$pid")
        [ "$t" = -1 ] && { echo "$1 ended before it was ready" >&2; return 1; }
        if [ "$t" != "$last_ticks" ]; then
            last_ticks=$t
            last_change=$now
        fi
        if [ "$seen" = 0 ] && xdotool search --onlyvisible --pid "$pid" > /dev/null 2>&1; then
            seen=1
        fi
        quiet=$(((now - last_change) / 1000000))
        [ "$seen" = 1 ] && [ "$quiet" -ge 1000 ] && break
        [ $(((now - start) / 1000000000)) -ge 300 ] && { echo "$1 not ready after 300 s" >&2; break; }
    done
    awk -v ns=$((last_change - start)) -v kb="$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")" \
        'BEGIN { printf "%.2f %.0f\n", ns / 1e9, kb / 1024 }'
    # Killed, not asked to end: what a program does on the way out is not measured.
    kill -KILL "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null || true
}

# Prints one row: the program, its median ready time and peak memory over the runs.
measure() {
    local name=$1 home="$work/home-$1" i
    shift
    mkdir -p "$home/runtime"
    chmod 700 "$home/runtime"
    ready "$home" "$@" > /dev/null || return 0
    for ((i = 0; i < runs; i++)); do
        ready "$home" "$@" || return 0
    done | sort -n | awk -v name="$name" -v n="$runs" '
        { s[NR] = $1; m[NR] = $2 }
        END { printf "| %s | %.2f s | %d MB |\n", name, s[int((n + 1) / 2)], m[int((n + 1) / 2)] }'
}

size=$(stat -c %s "$work/large.not")
echo "| program, $folders folders, $(awk -v b="$size" 'BEGIN { printf "%.1f", b / 1e6 }') MB | ready | peak memory |"
echo "|---|---|---|"
measure Quillbox "$build/src/app/quillbox" "$work/large.not"
command -v cherrytree > /dev/null && measure CherryTree cherrytree "$work/large.ctd"
command -v zim > /dev/null && measure Zim zim "$work/large.zim"
exit 0
