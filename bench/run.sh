#!/usr/bin/env bash
# Measures the rows of the README's performance table on notebooks generated here, and prints
# each with its target and whether it is met. Headless rows time quillbox-cli against wc -l, dd
# and GNU grep in the same run; window rows come from quillbox-window-bench on the offscreen
# platform.
#
#   bench/run.sh [--tiny] [--runs N] [--build-dir DIR] [--only GROUPS]
#
# --tiny runs every row on small notebooks (what CI does, so the benchmarks keep working; its
# figures mean nothing). --only runs the rows of the groups named, comma-separated: open, save,
# memory, search, merge, history, wide, keyed, main, siblings (headless); window, recovery, switch,
# longline, shapes, subtree, nested.
# The full run needs about 2 GB of memory and 1 GB under $TMPDIR.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build"
tiny=0
runs=5
only=
while [ $# -gt 0 ]; do
    case "$1" in
    --tiny) tiny=1 ;;
    --runs) runs=$2; shift ;;
    --build-dir) build=$2; shift ;;
    --only) only=$2; shift ;;
    *) sed -n '2,12p' "$0" >&2; exit 2 ;;
    esac
    shift
done
gen_corpus=${GEN_CORPUS:-$repo/../shared/bench/gen_corpus.py}

if [ "$tiny" = 1 ]; then
    large_folders=100 large_mb=0.5 small=100 big=1000 deep=400 deeper=1000 keyed=100 main_mb=0.1
    siblings=10000 notes=50 line=10000 saves=20 runs=1
else
    large_folders=10000 large_mb=50 small=10000 big=100000 deep=40000 deeper=100000 keyed=10000 main_mb=10
    siblings=1000000 notes=5000 line=1000000 saves=1000
fi

cli="$build/quillbox-cli"
make_notebook="$build/bench/make-notebook"
window_bench="$build/bench/quillbox-window-bench"
history_bench="$build/bench/quillbox-history-bench"
if [ ! -x "$cli" ] || [ ! -x "$make_notebook" ] || [ ! -x "$window_bench" ] || [ ! -x "$history_bench" ] || [ ! -x /usr/bin/time ]; then
    "$repo/scripts/install-deps.sh"
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j"$(nproc)" --target quillbox-cli make-notebook quillbox-window-bench quillbox-history-bench >/dev/null
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quillbox-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The window benchmark's Qt needs a runtime directory and has nothing to warn about here.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" QT_LOGGING_RULES='default.warning=false'
# The commands keep versions of what they write: here, not in the user's history.
export XDG_STATE_HOME="$work/state"

# Whether the rows of a group are to be measured.
wanted() { [ -z "$only" ] || [[ ",$only," == *",$1,"* ]]; }

# --- measuring -------------------------------------------------------------------------------

# Wall seconds of one run of a command, its output discarded.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.4f\n", ns / 1e9 }'
}

median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Processor seconds (user and system) of one run of a command, its output discarded: what a
# search costs, whatever else the machine runs meanwhile.
cpu_seconds() {
    local TIMEFORMAT='%3U %3S' times
    times=$({ time "$@" >/dev/null 2>&1; } 2>&1)
    awk -v t="$times" 'BEGIN { split(t, f, " "); printf "%.4f\n", f[1] + f[2] }'
}

# The median processor seconds of each command named (a shell function), run in turns so that
# all see the same machine.
cpu_medians() {
    local values=() i j
    for ((i = 0; i < runs; i++)); do
        for ((j = 1; j <= $#; j++)); do values[j]+=" $(cpu_seconds "${!j}")"; done
    done
    for ((j = 1; j <= $#; j++)); do
        # shellcheck disable=SC2086 # each entry is a list of figures
        printf '%s ' "$(median ${values[j]})"
    done
    echo
}

# Median seconds of a command over the runs.
median_seconds() {
    local values=() i
    for ((i = 0; i < runs; i++)); do values+=("$(seconds "$@")"); done
    median "${values[@]}"
}

# "A B": the median seconds of two commands, run in pairs so both see the same machine; SPLIT is
# the number of words of the first.
paired() {
    local split=$1; shift
    local first=("${@:1:$split}") second=("${@:$((split + 1))}") a=() b=() i
    for ((i = 0; i < runs; i++)); do
        a+=("$(seconds "${first[@]}")")
        b+=("$(seconds "${second[@]}")")
    done
    echo "$(median "${a[@]}") $(median "${b[@]}")"
}

# Runs a command with its output in a file: GNU grep stops at the first match when its output is
# /dev/null.
into() { local out=$1; shift; "$@" >"$out"; }

# Peak resident memory of a command, in bytes.
peak_bytes() {
    /usr/bin/time -f '%M' -o "$work/time.out" "$@" >/dev/null
    echo $(($(tail -1 "$work/time.out") * 1024))
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f\n", (b > 0 ? a / b : 0) }'; }
# yes when a <= b
within() { awk -v a="$1" -v b="$2" 'BEGIN { print (a <= b ? "yes" : "NO") }'; }

printf '| what | measured | target | met |\n|---|---|---|---|\n'
row() { printf '| %s | %s | %s | %s |\n' "$@"; }

# The field NAME=value of a line of quillbox-window-bench's output.
field() { tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p"; }

# --- notebooks -------------------------------------------------------------------------------

large="$work/large.not"
if wanted open || wanted save || wanted memory || wanted search || wanted merge || wanted history || wanted window || wanted recovery; then
    if [ -f "$gen_corpus" ]; then
        python3 "$gen_corpus" --folders "$large_folders" --mb "$large_mb" --seed 1 --out "$work" --name large --formats not >/dev/null
    else
        echo "($gen_corpus is missing: the large notebook is generated by make-notebook)" >&2
        "$make_notebook" --notes 40 balanced "$large_folders" "$large"
    fi
    size=$(stat -c %s "$large")
fi
nb() { # FILE make-notebook arguments...
    local file="$work/$1"; shift
    [ -f "$file" ] || "$make_notebook" "$@" "$file"
    echo "$file"
}

# --- headless ---------------------------------------------------------------------------------

if wanted open; then
    read -r wc_s tree_s < <(paired 3 wc -l "$large" "$cli" tree "$large")
    r=$(ratio "$tree_s" "$wc_s")
    row "headless open, \`quillbox-cli tree\` vs \`wc -l\`, large ($(ratio "$size" 1000000) MB)" "${r}x (${tree_s} s / ${wc_s} s)" "at most 5x" "$(within "$r" 5)"
fi

if wanted save; then
    read -r dd_s resave_s < <(paired 6 dd if="$large" of="$work/dd.out" bs=1M conv=fsync status=none \
        "$cli" resave "$large" "$work/resaved.not")
    r=$(ratio "$resave_s" "$dd_s")
    row "headless save, \`quillbox-cli resave\` vs \`dd bs=1M conv=fsync\`, large" "${r}x (${resave_s} s / ${dd_s} s)" "at most 2x" "$(within "$r" 2)"
fi

if wanted memory; then
    tree_m=$(ratio "$(peak_bytes "$cli" tree "$large")" "$size")
    resave_m=$(ratio "$(peak_bytes "$cli" resave "$large" "$work/resaved.not")" "$size")
    worst=$(printf '%s\n' "$tree_m" "$resave_m" | sort -g | tail -1)
    row "headless peak memory, large" "${tree_m}x (tree) / ${resave_m}x (resave) the file size" "at most 1.5x" "$(within "$worst" 1.5)"
    # Export writes a folder at a time: it should need no more than reading the notebook does.
    export_m=$(ratio "$(peak_bytes "$cli" export --format html -o "$work/export.html" "$large")" "$size")
    rm -f "$work/export.html"
    row "headless export peak memory, large, \`export --format html\` vs \`tree\`" "${export_m}x / ${tree_m}x the file size" "at most 1.5x" "$(within "$export_m" 1.5)"
fi

# grep -E in one pass over the notes, against ripgrep (where installed) and GNU grep -E over the
# same notes exported as text, in processor time; Quillbox's includes reading the notebook, as
# `tree` alone shows. Patterns a backtracking engine takes minutes over, a long count, counts
# within counts, and patterns of a thousand and two thousand words (the first 1% of them in the
# notebook, the others built of its syllables but found nowhere).
if wanted search; then
    "$cli" export --format text -o "$work/large.txt" "$large"
    python3 - "$work/large.txt" "$work/words" <<'PY'
import sys
text, out = sys.argv[1], sys.argv[2]
present = []
for line in open(text, encoding="utf-8"):
    for word in line.split():
        if word.isalpha() and word.islower() and len(word) >= 6 and word not in present:
            present.append(word)
    if len(present) >= 20:
        break
syllables = ["ka", "lo", "mi", "ne", "ru", "sa", "ti", "vo", "be", "da"]
absent = ["".join(syllables[(n // 10 ** k) % 10] for k in range(5)) + "q" for n in range(1980)]
for count in (1000, 2000):
    words = present[: count // 100] + absent[: count - count // 100]
    open("%s.%d" % (out, count), "w").write("|".join(words))
PY
    have_rg=$(command -v rg >/dev/null && echo 1 || echo 0)
    tree_only() { "$cli" tree "$large"; }
    read -r tree_s < <(cpu_medians tree_only)
    ours() { into "$work/ours.out" "$cli" grep -E "$large" "$pattern"; }
    gnu() { into "$work/gnu.out" env LC_ALL=C.UTF-8 grep -E "$pattern" "$work/large.txt"; }
    ripgrep() { into "$work/rg.out" rg --no-config "$pattern" "$work/large.txt"; }
    search_row() { # WHAT
        local ours_s gnu_s rg_s lines
        if [ "$have_rg" = 1 ]; then
            read -r ours_s rg_s gnu_s < <(cpu_medians ours ripgrep gnu)
        else
            read -r ours_s gnu_s < <(cpu_medians ours gnu)
        fi
        lines="$(wc -l <"$work/ours.out") / $(wc -l <"$work/gnu.out") lines"
        if [ "$have_rg" = 1 ]; then
            local r
            r=$(ratio "$ours_s" "$rg_s")
            row "headless search, $1 vs ripgrep / GNU \`grep -E\` on the text, large" \
                "${r}x ripgrep (${ours_s} s / ${rg_s} s / GNU ${gnu_s} s; tree alone ${tree_s} s), $lines" \
                "at most 2x ripgrep" "$(within "$r" 2)"
        else
            local r met
            r=$(ratio "$ours_s" "$gnu_s")
            met=$([ "$(within "$r" 10)" = yes ] && [ "$(within "$ours_s" 1)" = yes ] && echo yes || echo NO)
            row "headless search, $1 vs GNU \`grep -E\` on the text (no ripgrep), large" \
                "${r}x (${ours_s} s / ${gnu_s} s; tree alone ${tree_s} s), $lines" "at most 10x, under 1 s" "$met"
        fi
    }
    for pattern in '(.*)(.*)zz$' '([a-z]+ ){5}x' '(a|aa)*b' '\w+\s+\w+\s+zzz' 'x{1000}' '(x{100}){100}'; do
        # A bar in a table's cell is written \|.
        search_row "\`quillbox-cli grep -E '${pattern//|/\\|}'\`"
    done
    for count in 1000 2000; do
        pattern=$(cat "$work/words.$count")
        search_row "\`quillbox-cli grep -E\` of $count words"
    done
fi

if wanted wide; then
    wide_small=$(nb wide-$small.not wide "$small")
    wide_big=$(nb wide-$big.not wide "$big")
    read -r a b < <(paired 3 "$cli" tree "$wide_small" "$cli" tree "$wide_big")
    r=$(ratio "$b" "$a")
    row "headless open, $big folders side by side vs $small" "${r}x (${b} s / ${a} s)" "at most 11x" "$(within "$r" 11)"
fi

if wanted keyed; then
    keyed_a=$(nb keyed-$keyed.not --every-key balanced "$keyed")
    keyed_b=$(nb keyed-$((keyed * 3)).not --every-key balanced $((keyed * 3)))
    read -r a b < <(paired 3 "$cli" tree "$keyed_a" "$cli" tree "$keyed_b")
    r=$(ratio "$b" "$a")
    row "headless open, every folder with a key: $keyed / $((keyed * 3)) folders" "$a s / $b s (${r}x)" "linear: at most 3.3x" "$(within "$r" 3.3)"
fi

if wanted main; then
    main_a=$(nb main-$((small / 10)).not --main-mb "$main_mb" wide $((small / 10)))
    main_b=$(nb main-$small.not --main-mb "$main_mb" wide "$small")
    read -r a b < <(paired 3 "$cli" tree "$main_a" "$cli" tree "$main_b")
    r=$(ratio "$b" "$a")
    row "headless open, a $main_mb MB Main with $((small / 10)) / $small children" "$a s / $b s (${r}x)" "linear: at most 11x" "$(within "$r" 11)"
fi

if wanted siblings; then
    read -r base desc < <(paired 3 "$cli" tree "$(nb wide0-$((siblings / 10)).not --descending --notes 0 wide $((siblings / 10)))" \
        "$cli" tree "$(nb wide-$siblings.not --descending --notes 0 wide "$siblings")")
    asc=$(median_seconds "$cli" tree "$(nb wide-$siblings-ascending.not --notes 0 wide "$siblings")")
    r=$(ratio "$desc" "$base")
    row "headless open, $siblings siblings in descending / ascending name order" "$desc s / $asc s (descending ${r}x the $((siblings / 10)))" "linear: at most 11x the $((siblings / 10))" "$(within "$r" 11)"
fi

# Two copies of the large notebook, each with 1% of its notes changed (one body line of every
# hundredth note, a different hundredth on each side), merged with the original as the base.
if wanted merge; then
    edit_notes() { # IN OUT FIRST: every hundredth note from note FIRST gets a longer first line
        python3 - "$@" <<'PY'
import sys
src, dst, first = sys.argv[1], sys.argv[2], int(sys.argv[3])
lines = open(src, 'rb').read().split(b'\r\n')
note = 0
for i, line in enumerate(lines):
    if line.startswith(b'------ ') and line.endswith(b' ------'):
        if note % 100 == first and i + 1 < len(lines):
            lines[i + 1] += b' edited'
        note += 1
open(dst, 'wb').write(b'\r\n'.join(lines))
PY
    }
    edit_notes "$large" "$work/ours.not" 17
    edit_notes "$large" "$work/theirs.not" 61
    open3() { "$cli" tree "$large" && "$cli" tree "$work/ours.not" && "$cli" tree "$work/theirs.not"; }
    read -r open_s merge_s < <(paired 1 open3 "$cli" merge -o "$work/merged.not" "$large" "$work/ours.not" "$work/theirs.not")
    r=$(ratio "$merge_s" "$open_s")
    changed=$("$cli" diff "$large" "$work/merged.not" | grep -c '^note changed' || true)
    row "headless merge, large with 1% of notes changed on each side, vs opening the three" "${r}x (${merge_s} s / ${open_s} s), $changed notes changed" "at most 3x" "$(within "$r" 3)"

    # Nesting costs the merge and the comparison no more than reading and writing the notebooks:
    # no path of every folder. (Printing the tree of such a notebook takes long: its indents grow
    # with the depth.)
    deepest=$(nb "deep-$deeper.not" deep "$deeper")
    edit_notes "$deepest" "$work/deep-ours.not" 17
    edit_notes "$deepest" "$work/deep-theirs.not" 61
    resave3() { for f in "$deepest" "$work/deep-ours.not" "$work/deep-theirs.not"; do "$cli" resave --force "$f" "$work/deep-resaved.not"; done; }
    read -r open_s merge_s < <(paired 1 resave3 "$cli" merge -o "$work/deep-merged.not" "$deepest" "$work/deep-ours.not" "$work/deep-theirs.not")
    r=$(ratio "$merge_s" "$open_s")
    row "headless merge, $deeper levels deep with 1% of notes changed on each side, vs resaving the three" "${r}x (${merge_s} s / ${open_s} s)" "at most 3x" "$(within "$r" 3)"
    "$cli" resave --force "$deepest" "$work/deep-copy.not"
    resave2() { for f in "$deepest" "$work/deep-copy.not"; do "$cli" resave --force "$f" "$work/deep-resaved.not"; done; }
    read -r open_s diff_s < <(paired 1 resave2 "$cli" diff "$deepest" "$work/deep-copy.not")
    r=$(ratio "$diff_s" "$open_s")
    row "headless diff, $deeper levels deep, with a copy of itself vs resaving the two" "${r}x (${diff_s} s / ${open_s} s)" "at most 3x" "$(within "$r" 3)"

    # Linear in depth: ten times the levels, at most eleven times the time.
    shallower=$((deeper / 10))
    shallow=$(nb "deep-$shallower.not" deep "$shallower")
    edit_notes "$shallow" "$work/shallow-ours.not" 17
    edit_notes "$shallow" "$work/shallow-theirs.not" 61
    read -r small_s large_s < <(paired 7 "$cli" merge -o "$work/shallow-merged.not" "$shallow" "$work/shallow-ours.not" "$work/shallow-theirs.not" \
        "$cli" merge -o "$work/deep-merged.not" "$deepest" "$work/deep-ours.not" "$work/deep-theirs.not")
    r=$(ratio "$large_s" "$small_s")
    row "headless merge, $deeper levels deep vs $shallower" "${r}x (${large_s} s / ${small_s} s)" "at most 11x" "$(within "$r" 11)"
    # The comparison with a copy of itself: a change reported names its folder's whole path, so
    # what changed at depth prints in time that grows with the depth of each line.
    "$cli" resave --force "$shallow" "$work/shallow-copy.not"
    read -r small_s large_s < <(paired 4 "$cli" diff "$shallow" "$work/shallow-copy.not" "$cli" diff "$deepest" "$work/deep-copy.not")
    r=$(ratio "$large_s" "$small_s")
    row "headless diff with a copy of itself, $deeper levels deep vs $shallower" "${r}x (${large_s} s / ${small_s} s)" "at most 11x" "$(within "$r" 11)"
fi

# The history: a version costs what changed. One program keeps the large notebook, then $saves
# saves that each add a note to one folder, lists the versions and finds what two copies went on
# from; the save they add to is quillbox-cli resave's.
if wanted history; then
    out=$("$history_bench" "$large" "$saves" "$work/history")
    rm -rf "$work/history"
    resave_s=$(median $(for ((i = 0; i < runs; i++)); do seconds "$cli" resave --force "$large" "$work/resaved.not"; done))
    keep_ms=$(field keep_ms "$out")
    added=$(field added_bytes "$out")
    share=$(awk -v k="$keep_ms" -v s="$resave_s" 'BEGIN { printf "%.1f\n", (s > 0 ? k / 10 / s : 0) }')
    row "history, a save of large that changed one folder: bytes and time added" "$((added / 1024)) KB, $keep_ms ms ($share% of the save's $resave_s s)" "under 1 MB and 10%" \
        "$([ "$(within "$added" 1048576)" = yes ] && [ "$(within "$share" 10)" = yes ] && echo yes || echo NO)"
    store_mb=$(ratio "$(field store_bytes "$out")" 1048576)
    row "history of large after $saves such saves (the first keeping $(ratio "$(field first_bytes "$out")" 1048576) MB)" "$store_mb MB" "under 100 MB" "$(within "$store_mb" 100)"
    log_s=$(field log_s "$out")
    row "history, listing $(field versions "$out") versions with what each changed" "$log_s s" "under 0.3 s" "$(within "$log_s" 0.3)"
    base_s=$(field base_s "$out")
    row "history, finding the version two copies went on from (then reading it: $(field load_s "$out") s)" "$base_s s" "under 0.1 s" "$(within "$base_s" 0.1)"
fi

# --- window -------------------------------------------------------------------------------------

window_open() { "$window_bench" open "$1"; }
# The medians of the runs of a window open: "seconds rss cpu-seconds".
window_median() {
    local s=() m=() c=() out i
    for ((i = 0; i < runs; i++)); do
        out=$(window_open "$1")
        s+=("$(field seconds "$out")")
        m+=("$(field rss "$out")")
        c+=("$(field cpu "$out")")
    done
    echo "$(median "${s[@]}") $(median "${m[@]}") $(median "${c[@]}")"
}

if wanted window; then
    read -r open_s open_rss open_cpu < <(window_median "$large")
    row "window open to painted and idle, large" "$open_s s (CPU $open_cpu s)" "at most 0.3 s" "$(within "$open_s" 0.3)"
    r=$(ratio "$open_rss" "$size")
    row "window memory above an empty notebook's window, large" "${r}x the file size" "at most 1.5x" "$(within "$r" 1.5)"
fi

if wanted recovery; then
    out=$("$window_bench" recovery "$large" 21)
    snapshot_ms=$(field snapshot_ms "$out")
    row "recovery write, the window's share (the writer thread's: $(field bytes_ms "$out") ms), large" "$snapshot_ms ms" "under 16 ms" "$(within "$snapshot_ms" 15.99)"
fi

if wanted switch; then
    out=$("$window_bench" keys "$(nb big.not bigfolder "$notes")" 21)
    switch_ms=$(field switch_ms "$out")
    f3_ms=$(field f3_ms "$out")
    row "switch into a folder of $notes notes filling the editor" "$switch_ms ms (CPU $(field switch_cpu_ms "$out") ms)" "under 16 ms" "$(within "$switch_ms" 15.99)"
    row "F3 on a note in that folder" "$f3_ms ms (CPU $(field f3_cpu_ms "$out") ms)" "under 16 ms" "$(within "$f3_ms" 15.99)"
fi

if wanted longline; then
    out=$("$window_bench" longline "$(nb longline.not longline "$line")" 21)
    what="a folder of one $(ratio "$line" 1000000) MB line without a space"
    row "switch into $what, first time / again" "$(field first_ms "$out") ms / $(field switch_ms "$out") ms (CPU $(field first_cpu_ms "$out") / $(field switch_cpu_ms "$out") ms)" "under 16 ms" "$(within "$(field first_ms "$out")" 15.99)"
    row "switch out of that folder" "$(field leave_ms "$out") ms (CPU $(field leave_cpu_ms "$out") ms)" "under 16 ms" "$(within "$(field leave_ms "$out")" 15.99)"
    row "Page Down in that folder" "$(field page_ms "$out") ms (CPU $(field page_cpu_ms "$out") ms)" "under 16 ms" "$(within "$(field page_ms "$out")" 15.99)"
    row "type a letter in that folder" "$(field type_ms "$out") ms (CPU $(field type_cpu_ms "$out") ms)" "under 16 ms" "$(within "$(field type_ms "$out")" 15.99)"
    out=$("$window_bench" longline "$(nb longwords.not longwords "$line")" 21)
    what="a folder of one $(ratio "$line" 1000000) MB line of words"
    row "switch into $what, first time / again" "$(field first_ms "$out") ms / $(field switch_ms "$out") ms (CPU $(field first_cpu_ms "$out") / $(field switch_cpu_ms "$out") ms)" "under 16 ms again" "$(within "$(field switch_ms "$out")" 15.99)"
    row "type a letter in that folder" "$(field type_ms "$out") ms (CPU $(field type_cpu_ms "$out") ms)" "under 16 ms" "$(within "$(field type_ms "$out")" 15.99)"
fi

if wanted shapes; then
    for shape in balanced wide; do
        read -r a _ a_cpu < <(window_median "$(nb $shape-$small.not $shape "$small")")
        read -r b _ b_cpu < <(window_median "$(nb $shape-$big.not $shape "$big")")
        r=$(ratio "$b" "$a")
        label=$([ $shape = wide ] && echo "side by side under Main" || echo "10 children per folder")
        row "window open, $big folders ($label)" "$b s (${r}x the $small case, $a s; CPU ${b_cpu} s, $(ratio "$b_cpu" "$a_cpu")x)" "at most 11x" "$(within "$r" 11)"
    done
fi

if wanted subtree; then
    out=$("$window_bench" subtree "$(nb balanced-$big.not balanced "$big")" "$runs")
    subtree=$([ "$tiny" = 1 ] && echo "a subtree" || echo "a subtree of 11,111 folders")
    for op in cut copy paste delete; do
        ms=$(field ${op}_ms "$out")
        row "window, $op $subtree" "$ms ms (CPU $(field ${op}_cpu_ms "$out") ms)" "under 50 ms" "$(within "$ms" 49.99)"
    done
fi

# Opened, and the window taken apart again: both go through every level.
if wanted nested; then
    for depth in "$deep" "$deeper"; do
        if out=$("$window_bench" open "$(nb deep-$depth.not deep "$depth")" 2>&1); then
            row "window, $depth folders nested" "opens in $(field seconds "$out") s, and closes" "opens" "yes"
        else
            row "window, $depth folders nested" "fails: $(tail -1 <<<"$out")" "opens" "NO"
        fi
    done
fi
