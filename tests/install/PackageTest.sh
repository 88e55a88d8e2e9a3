#!/usr/bin/env bash
# Makes the Debian package from build folder $1 with cpack $2 and checks what it holds: both
# programs, the desktop integration files (each accepted by its own validator), the icons, the
# manual pages (rendered without warnings), the completion, the help pages, and dependencies
# found by dpkg-shlibdeps.
set -euo pipefail
build=$1
cpack=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

(cd "$work" && "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" > cpack.log) \
    || { cat "$work/cpack.log" >&2; exit 1; }
deb=$(echo "$work"/quillbox_*.deb)
[ -f "$deb" ] || { echo "FAIL: cpack made no quillbox_*.deb" >&2; exit 1; }
dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./|/|' > "$work/files"

id=io.github.quillbox.Quillbox
expected=(
    /usr/bin/quillbox
    /usr/bin/quillbox-cli
    /usr/share/applications/$id.desktop
    /usr/share/metainfo/$id.metainfo.xml
    /usr/share/mime/packages/$id.xml
    /usr/share/icons/hicolor/scalable/apps/$id.svg
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-quillbox-notebook.svg
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-quillbox-folder.svg
    /usr/share/man/man1/quillbox.1.gz
    /usr/share/man/man1/quillbox-cli.1.gz
    /usr/share/bash-completion/completions/quillbox-cli
    /usr/share/quillbox/help/index.html
    /usr/share/quillbox/help/tutorial.html
    /usr/share/quillbox/help/help.css
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=(/usr/share/icons/hicolor/${size}x${size}/apps/$id.png)
done
for path in "${expected[@]}"; do
    grep -qxF "$path" "$work/files" || fail "the package lacks $path"
done
# Nothing from the build tree or the tests may slip in.
if grep -E 'test|bench|render-icon|/include/|\.a$' "$work/files"; then
    fail "the package holds files a user does not need (above)"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6svg6 libre2-9; do
    [[ $depends == *"$library "* || $depends == *"$library,"* || $depends == *"$library" ]] \
        || fail "Depends lacks $library: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "the desktop entry is not valid"
grep -qx "Exec=quillbox %F" "$root/usr/share/applications/$id.desktop" || fail "the desktop entry does not start quillbox"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" > "$work/appstream.log" \
    || { cat "$work/appstream.log" >&2; fail "the AppStream metainfo is not valid"; }
# The types reach a MIME database with their globs, magic and icons.
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/$id.xml" "$work/mime/packages/"
update-mime-database "$work/mime" > "$work/mime.log" 2>&1
for type in "*.not:application/x-quillbox-notebook" "*.fol:application/x-quillbox-folder"; do
    grep -qF ":${type#*:}:${type%%:*}" "$work/mime/globs2" || fail "no glob ${type%%:*} for ${type#*:}"
    grep -qF "${type#*:}" "$work/mime/magic" || fail "no magic for ${type#*:}"
    grep -qF "${type#*:}:application-x-quillbox-" "$work/mime/icons" || fail "no icon for ${type#*:}"
done
for page in quillbox quillbox-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 > "$work/$page.txt")
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
    grep -q "^NAME" "$work/$page.txt" || fail "man $page does not render"
done
bash -n "$root/usr/share/bash-completion/completions/quillbox-cli" || fail "the completion is not valid bash"

[ "$failed" -eq 0 ] && echo "$(basename "$deb"): $(wc -l < "$work/files") entries, Depends: $depends"
exit "$failed"
