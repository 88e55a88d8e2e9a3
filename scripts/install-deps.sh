#!/usr/bin/env bash
# Installs the Debian packages Quillbox needs to build, test and run, when they are missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev libx11-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libre2-dev libsqlite3-dev
    # the catalogues: Qt's lupdate/lrelease with their CMake functions, gettext's xgettext/msgfmt
    # for quillbox-cli, and Qt's own translations of its standard buttons
    qt6-tools-dev qt6-l10n-tools gettext qt6-translations-l10n
    clang libclang-rt-14-dev
    fonts-dejavu-core poppler-utils
    xvfb xauth
    # the window under Wayland: a headless compositor to start it in, and Qt's Wayland platform
    weston qt6-wayland
    time
    # the completion's test runs it with bash-completion's helpers loaded, as on a desktop; the
    # command-line tests give commands a terminal with script and python3's pty, read --json
    # back with python3's json, and lint the manual pages with mandoc
    bash-completion bsdutils python3 mandoc
    # bench/run.sh times the search against ripgrep as well as GNU grep
    ripgrep
    # making the Debian packages (dpkg-buildpackage checks build-essential), checking them and
    # their files, and installing them as a user would; libfile-mimeinfo-perl is the file type
    # lookup xdg-mime takes outside a desktop session
    build-essential dpkg-dev debhelper lintian desktop-file-utils appstream shared-mime-info man-db
    xdg-utils libglib2.0-bin libfile-mimeinfo-perl
)
# --accessibility: what scripts/atspi-check.sh needs to read the window as a screen reader does.
if [ "${1:-}" = "--accessibility" ]; then
    packages+=(at-spi2-core dbus python3-dbus)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
