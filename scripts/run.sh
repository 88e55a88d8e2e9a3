#!/usr/bin/env bash
# Installs what is missing, builds Quillbox and starts it with the given arguments
# (a notebook file to open, or none for a new notebook).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target quillbox

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display here. Run Quillbox under a virtual one:" >&2
    echo "  xvfb-run -a -s '-screen 0 1280x800x24' build/src/app/quillbox $*" >&2
    exit 1
fi
exec build/src/app/quillbox "$@"
