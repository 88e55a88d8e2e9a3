#!/usr/bin/env bash
# Fuzzes the notebook reader and the folder file reader with their round-trip checks, and the
# notebook merge with its properties, under
# AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   scripts/fuzz.sh SECONDS [TARGET...]              builds in build-fuzz/ (with clang), then
#                                                    runs each target (open_notebook,
#                                                    import_folder, merge_notebooks) for SECONDS
#   scripts/fuzz.sh --built DIR SECONDS [TARGET...]  runs the targets already built in DIR
#
# The corpus grows in DIR/corpus/TARGET, seeded from tests/data; an input that fails is kept
# in DIR/artifacts/TARGET/ and the script ends with an error. Reproduce one with
# DIR/fuzz/fuzz_TARGET FILE.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

build="$root/build-fuzz"
prebuilt=0
if [ "${1:-}" = "--built" ]; then
    build="$(cd "$2" && pwd)"
    prebuilt=1
    shift 2
fi
if [ $# -lt 1 ]; then
    echo "usage: scripts/fuzz.sh [--built DIR] SECONDS [TARGET...]" >&2
    exit 2
fi
seconds="$1"
shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(open_notebook import_folder merge_notebooks)

if [ $prebuilt -eq 0 ]; then
    cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_FUZZ=ON >/dev/null
    cmake --build "$build" -j"$(nproc)"
fi

for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    echo "fuzzing $target for $seconds s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
        -dict="$root/fuzz/notebook.dict" -artifact_prefix="$artifacts" -print_final_stats=1 \
        "$corpus" "$root/tests/data"
done
