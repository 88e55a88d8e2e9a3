#!/usr/bin/env bash
# What the packages describe the programs with, checked against each other and against the
# programs, without building a package: the manual pages (mandoc's lint, an item of its own for
# every command quillbox-cli's help names), the file types the desktop entry opens and the
# AppStream metainfo says Quillbox handles, the release in the metainfo and in the changelog,
# and the maintainer in debian/control and in the changelog.
# Usage: MetadataTest.sh QUILLBOX-CLI SOURCE-DIR
set -uo pipefail
cli=$(realpath "$1")
src=$(realpath "$2")
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
export LC_ALL=C.UTF-8
unset LANGUAGE

for page in "$src"/docs/man/*.1; do
    lint=$(mandoc -T lint -W warning "$page" 2>&1) || fail "mandoc finds fault with $(basename "$page"): $lint"
done

# Each command, help and --version included, starts an item of its own in COMMANDS: a tag at the
# left of the section's paragraphs, not words inside the item before it.
commands=$(MANWIDTH=200 man -l "$src/docs/man/quillbox-cli.1" 2>/dev/null | sed -n '/^COMMANDS/,/^[A-Z]/p')
names=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([-a-z]*\).*/\1/p' | sort -u)
[ -n "$names" ] || fail "quillbox-cli --help lists no commands"
for name in $names; do
    grep -q "^       $name\b" <<< "$commands" || fail "the manual page's COMMANDS has no item of its own for $name"
done

id=io.github.quillbox.Quillbox
desktop_types=$(sed -n 's/^MimeType=//p' "$src/res/linux/$id.desktop" | tr ';' '\n' | sed '/^$/d' | sort)
metainfo_types=$(sed -n 's:.*<mediatype>\(.*\)</mediatype>.*:\1:p' "$src/res/linux/$id.metainfo.xml" | sort)
[ "$desktop_types" == "$metainfo_types" ] ||
    fail "the desktop entry opens [$desktop_types] but the metainfo provides [$metainfo_types]"

# The newest release: its version and its day.
changelog_version=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' "$src/debian/changelog")
changelog_day=$(date -u -d "$(sed -n '0,/^ -- /s/^ -- .*>  //p' "$src/debian/changelog")" +%F)
release=$(grep -m1 '<release ' "$src/res/linux/$id.metainfo.xml")
[[ $release == *"version=\"$changelog_version\""* && $release == *"date=\"$changelog_day\""* ]] ||
    fail "the metainfo's newest release [$release] is not the changelog's $changelog_version of $changelog_day"
for page in "$src"/docs/man/*.1; do
    grep -q "^\.TH [^ ]* 1 $changelog_day " "$page" || fail "$(basename "$page") is not dated $changelog_day, as the changelog is"
done

maintainer=$(sed -n 's/^Maintainer: //p' "$src/debian/control")
signer=$(sed -n '0,/^ -- /s/^ -- \(.*>\)  .*/\1/p' "$src/debian/changelog")
[ "$maintainer" == "$signer" ] || fail "debian/control's Maintainer [$maintainer] is not the changelog's signer [$signer]"

[ "$failed" -eq 0 ] && echo "all passed"
exit "$failed"
