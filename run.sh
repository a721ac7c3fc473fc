#!/usr/bin/env bash
# Builds the program (release) and starts it on the working database in
# ./work, which is created with demo data when it is missing.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev libqt6sql6-sqlite libgl-dev fonts-wqy-microhei)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "安装缺少的软件包: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
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
