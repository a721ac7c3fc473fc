#!/usr/bin/env bash
# Builds the program (release) and starts it on the working database in
# ./work, which is created with demo data when it is missing.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh cmake g++ make qt6-base-dev qt6-charts-dev libqt6sql6-sqlite libgl-dev fonts-wqy-microhei \
  qt6-translations-l10n libsqlite3-dev

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMEMBERPOS_TESTS=OFF >/dev/null
cmake --build build-release -j2 --target memberpos memberpos-initdb

mkdir -p work
if [ ! -f work/BNA_Member.dll ]; then
  ./build-release/memberpos-initdb --demo work/BNA_Member.dll
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "没有图形显示 (DISPLAY 未设置)。可以这样在虚拟显示中运行: xvfb-run -a ./run.sh"
  exit 1
fi
cd work
exec ../build-release/memberpos "$@"
