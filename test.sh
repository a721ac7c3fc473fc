#!/usr/bin/env bash
# Builds the program and runs every test offscreen. Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake g++ make qt6-base-dev libqt6sql6-sqlite libgl-dev libfreexl-dev fonts-wqy-microhei)
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

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 "$@"
