#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet.
set -euo pipefail
missing=()
for p in "$@"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "安装缺少的软件包: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq "${missing[@]}"
