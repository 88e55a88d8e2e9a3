#!/usr/bin/env bash
# Makes the Debian packages quillbox and quillbox-cli (and their -dbgsym packages) as
# `dpkg-buildpackage -us -uc -b` makes them in the repository's root, but from a copy of the
# source tree, so the tree itself stays clean:
#   scripts/build-debs.sh OUTDIR
# OUTDIR/src is the copy (the files git tracks and the new files it does not ignore, or without git
# the tree less its build folders); the packages, the .changes file and OUTDIR/build.log land in
# OUTDIR. The build leaves the tests out (DEB_BUILD_OPTIONS=nocheck). Prints the .changes file.
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 1 ] || { echo "usage: build-debs.sh OUTDIR" >&2; exit 2; }
out=$1
rm -rf "$out"
mkdir -p "$out/src"
out=$(cd "$out" && pwd)

if git -C "$source" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    git -C "$source" ls-files -z -c -o --exclude-standard \
        | (cd "$source" && while IFS= read -r -d '' file; do
               [ -e "$file" ] && printf '%s\0' "$file" # not files deleted but still tracked
           done) \
        | tar -C "$source" --null -T - -cf - | tar -C "$out/src" -xf -
else
    tar -C "$source" --exclude='./build*' --exclude='./obj-*' -cf - . | tar -C "$out/src" -xf -
fi

jobs=$(nproc)
if ! (cd "$out/src" && DEB_BUILD_OPTIONS="nocheck parallel=$jobs" dpkg-buildpackage -us -uc -b) \
        > "$out/build.log" 2>&1; then
    tail -n 40 "$out/build.log" >&2
    echo "dpkg-buildpackage failed: $out/build.log" >&2
    exit 1
fi
changes=$(echo "$out"/quillbox_*.changes)
[ -f "$changes" ] || { echo "dpkg-buildpackage made no quillbox_*.changes" >&2; exit 1; }
echo "$changes"
