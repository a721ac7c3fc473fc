#!/usr/bin/env bash
# Builds the program and runs every test offscreen. Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh cmake g++ make qt6-base-dev libqt6sql6-sqlite libgl-dev fonts-wqy-microhei libfreexl-dev pkg-config poppler-utils

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 "$@"
