#!/usr/bin/env bash
# Builds the program and runs every test offscreen. Installs what is missing.
#   ./test.sh [ctest arguments]          debug build in ./build
#   ./test.sh --asan [ctest arguments]   AddressSanitizer + UBSan build in ./build-asan
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh cmake g++ make qt6-base-dev qt6-charts-dev libqt6sql6-sqlite libgl-dev fonts-wqy-microhei \
  qt6-translations-l10n libfreexl-dev pkg-config poppler-utils sqlite3 libsqlite3-dev xvfb xdotool

build=${BUILD_DIR:-build}
options=(-DCMAKE_BUILD_TYPE=Debug -DMEMBERPOS_SANITIZE=OFF)
if [ "${1:-}" = "--asan" ]; then
  shift
  build=${BUILD_DIR:-build-asan}
  options=(-DCMAKE_BUILD_TYPE=Debug -DMEMBERPOS_SANITIZE=ON)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer-leaks.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
fi
cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 "$@"
