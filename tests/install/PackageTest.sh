#!/usr/bin/env bash
# Builds the Debian packages with dpkg-buildpackage in a copy of the tree (scripts/build-debs.sh,
# into folder $1) and checks them: what each of quillbox and quillbox-cli holds, that quillbox-cli
# depends on no Qt or X11 library, lintian --pedantic (with info tags, the hardening ones among
# them) passing without a tag that is not overridden, the desktop integration files (each accepted
# by its own validator), the manual pages, the completion, and the file type that each lookup a
# Debian desktop has gives a notebook, a folder file and Mup files that share the "*.not" glob.
# $2 is mime-type-of, which asks Qt's QMimeDatabase.
set -euo pipefail
work=$(realpath -m "$1")
mime_type_of=$(realpath "$2")
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

changes=$("$(dirname "$0")/../../scripts/build-debs.sh" "$work")
version=$(sed -n 's/^Version: //p' "$changes")
arch=$(dpkg --print-architecture)
deb_gui=$work/quillbox_${version}_$arch.deb
deb_cli=$work/quillbox-cli_${version}_$arch.deb
for deb in "$deb_gui" "$deb_cli" "$work/quillbox-dbgsym_${version}_$arch.deb" \
    "$work/quillbox-cli-dbgsym_${version}_$arch.deb"; do
    [ -f "$deb" ] || fail "dpkg-buildpackage made no $(basename "$deb")"
done
[ "$failed" -eq 0 ] || exit 1
files() { dpkg-deb -c "$1" | grep -v '/$' | awk '{ print $NF }' | sed 's|^\./|/|' | sort; }

id=io.github.quillbox.Quillbox
# quillbox-cli holds its program, manual page, completion and catalogues, and nothing else.
expected_cli=(
    /usr/bin/quillbox-cli
    /usr/share/bash-completion/completions/quillbox-cli
    /usr/share/doc/quillbox-cli/changelog.gz
    /usr/share/doc/quillbox-cli/copyright
    /usr/share/locale/de/LC_MESSAGES/quillbox-cli.mo
    /usr/share/man/man1/quillbox-cli.1.gz
)
diff <(printf '%s\n' "${expected_cli[@]}" | sort) <(files "$deb_cli") > "$work/cli-files.diff" \
    || { cat "$work/cli-files.diff" >&2; fail "quillbox-cli holds other files than these (< lacks, > extra)"; }

files "$deb_gui" > "$work/gui-files"
expected_gui=(
    /usr/bin/quillbox
    /usr/share/applications/$id.desktop
    /usr/share/metainfo/$id.metainfo.xml
    /usr/share/mime/packages/$id.xml
    /usr/share/icons/hicolor/scalable/apps/$id.svg
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-quillbox-notebook.svg
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-quillbox-folder.svg
    /usr/share/man/man1/quillbox.1.gz
    /usr/share/quillbox/help/index.html
    /usr/share/quillbox/help/tutorial.html
    /usr/share/quillbox/help/help.css
    /usr/share/quillbox/help/de/index.html
    /usr/share/quillbox/help/de/tutorial.html
    /usr/share/quillbox/translations/quillbox_de.qm
    /usr/share/quillbox/translations/quillbox_en.qm
    /usr/share/doc/quillbox/changelog.gz
    /usr/share/doc/quillbox/copyright
)
for size in 16 22 24 32 48 64 128 256; do
    expected_gui+=(/usr/share/icons/hicolor/${size}x${size}/apps/$id.png)
done
for path in "${expected_gui[@]}"; do
    grep -qxF "$path" "$work/gui-files" || fail "quillbox lacks $path"
done
# Nothing from the build tree or the tests may slip in, nor anything of quillbox-cli.
if grep -E 'test|bench|render-icon|mime-type-of|/include/|\.a$|quillbox-cli' "$work/gui-files"; then
    fail "quillbox holds files a user does not need or that quillbox-cli holds (above)"
fi

depends_cli=$(dpkg-deb -f "$deb_cli" Depends)
if grep -Eio 'qt|x11|libx|xcb|libgl|wayland' <<< "$depends_cli"; then
    fail "quillbox-cli depends on a Qt or X11 library: $depends_cli"
fi
[[ ", $depends_cli," == *", libre2-9 "* || ", $depends_cli," == *", libre2-9,"* ]] \
    || fail "quillbox-cli's Depends lacks libre2-9, which grep needs: $depends_cli"
depends_gui=$(dpkg-deb -f "$deb_gui" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6svg6 libx11-6 libre2-9; do
    [[ ", $depends_gui," == *", $library "* || ", $depends_gui," == *", $library,"* ]] \
        || fail "quillbox's Depends lacks $library: $depends_gui"
done
[[ $depends_gui != *quillbox-cli* ]] || fail "quillbox depends on quillbox-cli: $depends_gui"
recommends_gui=$(dpkg-deb -f "$deb_gui" Recommends)
for package in quillbox-cli qt6-translations-l10n qt6-wayland; do
    [[ ", $recommends_gui," == *", $package,"* ]] || fail "quillbox's Recommends lacks $package: $recommends_gui"
done

# lintian --pedantic with info tags (hardening-no-bindnow and hardening-no-fortify-functions are
# info): any tag not overridden in debian/*.lintian-overrides fails.
lintian -I --pedantic --fail-on error,warning,info,pedantic "$changes" > "$work/lintian.log" 2>&1 \
    || { grep -v 'root privileges' "$work/lintian.log" >&2; fail "lintian finds fault with the packages (above)"; }

root=$work/root
dpkg-deb -x "$deb_gui" "$root"
dpkg-deb -x "$deb_cli" "$root"
for package in quillbox quillbox-cli; do
    doc=$root/usr/share/doc/$package
    head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        || fail "$package's copyright file is not machine-readable"
    grep -qx 'License: GPL-3+' "$doc/copyright" || fail "$package's copyright file names no GPL-3+"
    zcat "$doc/changelog.gz" | head -n 1 | grep -q "^quillbox ($version)" \
        || fail "$package's changelog does not start with version $version"
done
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "the desktop entry is not valid"
grep -qx "Exec=quillbox %F" "$root/usr/share/applications/$id.desktop" || fail "the desktop entry does not start quillbox"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" > "$work/appstream.log" \
    || { cat "$work/appstream.log" >&2; fail "the AppStream metainfo is not valid"; }
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$root/usr/share/metainfo/$id.metainfo.xml" \
    || fail "the AppStream metainfo names no GPL-3.0-or-later"
for page in quillbox quillbox-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 > "$work/$page.txt")
    [ -z "$warnings" ] || fail "man $page warns: $warnings"
    grep -q "^NAME" "$work/$page.txt" || fail "man $page does not render"
done
bash -n "$root/usr/share/bash-completion/completions/quillbox-cli" || fail "the completion is not valid bash"

# The file types, in a MIME database of shared-mime-info's types and the package's, with real
# files: a notebook and a folder file made by the packaged quillbox-cli, the notebook again under
# a name without extension, and Mup files, which shared-mime-info also gives "*.not": one with
# Mup's own first line (Mup's magic), one opened by a comment and one by its score context.
mkdir -p "$work/share/mime/packages" "$work/data-home" "$work/files" "$work/no-helper"
cp /usr/share/mime/packages/freedesktop.org.xml "$root/usr/share/mime/packages/$id.xml" "$work/share/mime/packages/"
update-mime-database "$work/share/mime" > "$work/mime.log" 2>&1
for type in "*.not:application/x-quillbox-notebook" "*.fol:application/x-quillbox-folder"; do
    grep -qF ":${type#*:}:${type%%:*}" "$work/share/mime/globs2" || fail "no glob ${type%%:*} for ${type#*:}"
    grep -qF "${type#*:}:application-x-quillbox-" "$work/share/mime/icons" || fail "no icon for ${type#*:}"
done
cd "$work/files"
"$root/usr/bin/quillbox-cli" new notebook.not > /dev/null
"$root/usr/bin/quillbox-cli" export --format fol -o folder.fol notebook.not Main
cp notebook.not notebook-without-extension
printf '//!Mup-Arkkra\r\nscore\r\n  staffs=1\r\nmusic\r\n1: 4c;d;e;f;\r\nbar\r\n' > mup-header.not
printf '// Twinkle, twinkle\nscore\n  time=4/4\n\nmusic\n1: 4c;c;g;g;\nbar\n' > mup-comment.not
printf 'score\n  staffs=2\nstaff 2\n  clef=bass\nmusic\n1: 2c;g;\n2: 1c;\nbar\n' > mup-score.not
expected_types=(
    notebook.not:application/x-quillbox-notebook
    notebook-without-extension:application/x-quillbox-notebook
    folder.fol:application/x-quillbox-folder
    mup-header.not:text/x-mup
    mup-comment.not:text/x-mup
    mup-score.not:text/x-mup
)
export XDG_DATA_HOME=$work/data-home XDG_DATA_DIRS=$work/share GIO_USE_VFS=local
# xdg-mime asks GIO in GNOME, Xfce, MATE, Cinnamon and LXDE sessions, kmimetypefinder in KDE, and
# otherwise File::MimeInfo's mimetype where libfile-mimeinfo-perl is installed (else file(1), which
# knows no desktop file types). "no-helper" hides mimetype from it.
printf '#!/bin/sh\nexit 127\n' > "$work/no-helper/mimetype"
chmod +x "$work/no-helper/mimetype"
gio_type() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
lookups=(
    "gio info|gio_type"
    "Qt's QMimeDatabase|$mime_type_of"
    "mimetype (File::MimeInfo)|mimetype -b"
    "xdg-mime with File::MimeInfo|env XDG_CURRENT_DESKTOP=X-Generic xdg-mime query filetype"
    "xdg-mime in GNOME without it|env PATH=$work/no-helper:$PATH XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype"
)
if command -v kmimetypefinder5 > /dev/null; then
    lookups+=("xdg-mime in KDE (kmimetypefinder5)|env XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 xdg-mime query filetype")
fi
command -v mimetype > /dev/null || fail "mimetype is missing: install libfile-mimeinfo-perl"
for lookup in "${lookups[@]}"; do
    read -r -a command <<< "${lookup#*|}"
    for pair in "${expected_types[@]}"; do
        file=${pair%%:*} type=${pair#*:}
        got=$("${command[@]}" "$file" 2>&1 | head -n 1) || true
        [ "$got" = "$type" ] || fail "${lookup%%|*} calls $file \"$got\", not $type"
    done
done

[ "$failed" -eq 0 ] && echo "$(basename "$changes"): quillbox ($(wc -l < "$work/gui-files") files), Depends: $depends_gui;" \
    "quillbox-cli, Depends: $depends_cli; lintian clean; file types agree in ${#lookups[@]} lookups"
exit "$failed"
