#!/usr/bin/env bash
# Installs what is missing, builds Quillbox and runs every test: the core tests (also built with
# AddressSanitizer and UndefinedBehaviorSanitizer) and the Qt tests on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure -j"$(nproc)"
